#include "app/on_created.h"

#include "app/main_window.h"
#include "app/single_instance.h"
#include "assets/clips.h"
#include "assets/playback.h"
#include "assets/tray_icon_file.h"
#include "common/ids.h"
#include "common/texts.h"
#include "forcestop/hotkeys.h"
#include "tray/settings.h"
#include "tray/tray_icon.h"

namespace vornik {

namespace {

constexpr std::uint32_t kExclamationOk = 48;  // MB_OK | MB_ICONEXCLAMATION

}  // namespace

void OnMainWindowCreated() {
  // No step looks at another's outcome: a failed hotkey is stored as 0, a
  // missing icon or sound device is ignored, and start-up goes on. The guard
  // comes last, so a refused copy has already done all of the above.
  ApplySettingsAtStartup();
  PlayClip(assets::StartupClip, assets::StartupClipSize, false);
  ForceStopHotkeyId =
      RegisterGlobalHotkey(MainWindow(), RelayLabel(), ids::kHotkeyModifiers, ids::kForceStopKey);
  ExitHotkeyId =
      RegisterGlobalHotkey(MainWindow(), RelayLabel(), ids::kHotkeyModifiers, ids::kExitKey);
  SetTrayIcon(MainWindow(), assets::TrayIconFile, assets::TrayIconFileSize, texts::kTrayTip);
  SingleInstanceGuard(ids::kSingleInstanceEventName, texts::kAlreadyRunning, kExclamationOk);
}

}  // namespace vornik
