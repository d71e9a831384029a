// Small move-only owners for Win32 resources, so that no return path leaks one.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace vornik {

template <typename Traits>
class Unique {
 public:
  using Value = typename Traits::Value;

  Unique() = default;
  explicit Unique(Value value) : value_(value) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : value_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Value get() const { return value_; }
  explicit operator bool() const { return Traits::IsValid(value_); }
  Value release() { return std::exchange(value_, Traits::Invalid()); }
  void reset(Value value = Traits::Invalid()) {
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  Value value_ = Traits::Invalid();
};

struct HandleTraits {
  using Value = HANDLE;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr && v != INVALID_HANDLE_VALUE; }
  static void Close(Value v) { CloseHandle(v); }
};

struct IconTraits {
  using Value = HICON;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { DestroyIcon(v); }
};

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { DestroyMenu(v); }
};

struct RegKeyTraits {
  using Value = HKEY;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { RegCloseKey(v); }
};

struct ModuleTraits {
  using Value = HMODULE;
  static Value Invalid() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { FreeLibrary(v); }
};

using UniqueHandle = Unique<HandleTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueRegKey = Unique<RegKeyTraits>;
using UniqueModule = Unique<ModuleTraits>;

// A COM interface pointer, released once.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const { return p_; }
  Interface* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the out-parameter of CoCreateInstance and QueryInterface.
  void** put() {
    reset();
    return reinterpret_cast<void**>(&p_);
  }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  Interface* p_ = nullptr;
};

}  // namespace vornik
