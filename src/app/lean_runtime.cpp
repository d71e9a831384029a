// How the executable takes its share of the static C++ runtime.
//
// The product must fit in 256 KiB, 140 KiB of which are its sound clips.
// Nothing in the program throws or catches, yet the runtime's prebuilt parts
// would bring the whole exception machinery along: the prebuilt std::string
// with every member and its unwind tables, the exception classes with their
// own string type, the unwinder, and the default terminate handler with a
// symbol demangler and a printf. Together that is more than the program and
// its clips. So the executable (not the test programs, which need exceptions)
// links this file, and its code is built with -fno-exceptions:
//  - std::string is instantiated here, so that only the members in use are
//    kept and no unwind tables come with them;
//  - global operator new and delete are replaced, as the language allows, by
//    ones that end the process when memory runs out instead of throwing;
//  - the runtime's internal throw helpers end the process likewise. Every one
//    of them is defined, so that the runtime's own set is never linked too.
// An exception that nobody catches ends the process anyway: what goes is the
// machinery between the throw and the end, not a behaviour.
#include <cstdlib>
#include <new>
#include <string>

template class std::basic_string<char>;

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  std::abort();
}

void* operator new[](std::size_t size) { return operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }

void operator delete[](void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace std {

void __throw_bad_exception() { abort(); }
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }
void __throw_ios_failure(const char*) { abort(); }
void __throw_ios_failure(const char*, int) { abort(); }
void __throw_system_error(int) { abort(); }
void __throw_future_error(int) { abort(); }
void __throw_bad_function_call() { abort(); }

}  // namespace std
