#include "app/on_created.h"

#include "app/main_window.h"
#include "app/single_instance.h"
#include "common/ids.h"
#include "common/texts.h"
#include "forcestop/hotkeys.h"
#include "tray/settings.h"

namespace vornik {

namespace {

constexpr std::uint32_t kExclamationOk = 48;  // MB_OK | MB_ICONEXCLAMATION

}  // namespace

void OnMainWindowCreated() {
  ApplySettingsAtStartup();
  // No step looks at another's outcome: a failed hotkey is stored as 0 and
  // start-up goes on.
  ForceStopHotkeyId =
      RegisterGlobalHotkey(MainWindow(), RelayLabel(), ids::kHotkeyModifiers, ids::kForceStopKey);
  ExitHotkeyId =
      RegisterGlobalHotkey(MainWindow(), RelayLabel(), ids::kHotkeyModifiers, ids::kExitKey);
  SingleInstanceGuard(ids::kSingleInstanceEventName, texts::kAlreadyRunning, kExclamationOk);
}

}  // namespace vornik
