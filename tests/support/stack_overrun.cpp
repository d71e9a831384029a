// Writes past the end of a buffer on its stack, built with the program's own
// compiler flags. The stack protector must stop it before the damaged frame
// returns. Its exit code is the code of the exception that ended it: an
// illegal instruction is the protector's trap, an access violation the return
// into the overwritten address.
#include <windows.h>

#include <cstring>

namespace {

// Unknown to the compiler, so the overrun is neither warned about nor removed.
volatile std::size_t overrunBytes = 64;

LONG WINAPI ExitWithExceptionCode(EXCEPTION_POINTERS* exception) {
  ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

__attribute__((noinline)) void Overrun() {
  char buffer[16];
  std::memset(buffer, 'A', sizeof buffer + overrunBytes);
  OutputDebugStringA(buffer);  // the buffer is used, so it stays on the stack
}

}  // namespace

int main() {
  SetUnhandledExceptionFilter(ExitWithExceptionCode);
  Overrun();
  return 0;
}
