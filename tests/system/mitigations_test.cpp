// The stack protector at work in this build: a function that overruns a buffer
// on its stack is stopped at its canary check, before it returns.
#include <doctest.h>
#include <windows.h>

#include "driver.h"

using namespace test;

TEST_CASE("a stack buffer overrun is trapped by the canary check, not run into") {
  Process overrun = Process::Start(TestBinDir() + "\\stack_overrun.exe");
  REQUIRE(overrun.Handle() != nullptr);
  REQUIRE(overrun.WaitExit());
  // Without the protector the function returns into 0x4141...: an access violation.
  CHECK(overrun.ExitCode() == static_cast<DWORD>(STATUS_ILLEGAL_INSTRUCTION));
}
