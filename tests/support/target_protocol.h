// What the tests and the target program (fg_target.exe) agree on.
#pragma once

#include <windows.h>

namespace test {

inline constexpr char kTargetWindowClass[] = "VornikTestTarget";
inline constexpr char kTargetDefaultTitle[] = "vornik test target";
// Posted to the target's window: it makes itself the foreground window again.
inline constexpr UINT kTargetComeForward = WM_APP + 1;
// A target that ends on its own (its window closed) exits with this code, so
// that exit code 0 tells a termination by TerminateProcess(h, 0).
inline constexpr UINT kTargetOwnExitCode = 3;

}  // namespace test
