// Vornik's message boxes inside a test case: waits that end the case, with a
// report of what Vornik shows instead, when the box does not come or go.
#pragma once

#include <doctest.h>

#include "driver.h"

namespace test {

// A visible box of `vornik` other than `except`.
inline MessageBoxInfo WaitVornikBox(Vornik& vornik, HWND except = nullptr) {
  auto box = WaitOtherMessageBox(vornik.process().Id(), except);
  if (!box) {
    const std::string state = vornik.process().Running() ? "runs" : "has ended";
    MESSAGE("no box; Vornik " << state << ", its windows: "
                              << DescribeWindowsOf(vornik.process().Id()) << "\n"
                              << BacktracesOf(vornik.process().Id()));
  }
  REQUIRE(box.has_value());
  return *box;
}

inline void CloseBoxAndWait(const MessageBoxInfo& box) {
  REQUIRE(CloseMessageBoxAndWait(box.window));
}

}  // namespace test
