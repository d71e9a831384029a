#include "forcestop/force_stop.h"

#include <windows.h>

#include "app/main_window.h"
#include "assets/clips.h"
#include "assets/playback.h"
#include "common/message_box.h"
#include "forcestop/foreground.h"
#include "forcestop/last_result.h"
#include "forcestop/process_lookup.h"
#include "forcestop/result_report.h"

namespace vornik {

void ForceStopResponse() {
  // Read first: the check mark at the moment of the key press decides.
  const int showResult = IsItemChecked(MenuItem::ShowResultSwitch);
  const std::string text = ForceStopAction();
  if (showResult == 1) {
    // A copy: a force stop nested in this box's loop replaces LastResultTitle.
    const std::string title = LastResultTitle;
    ShowMessage(text.c_str(), title.c_str(), ResultBoxStyle(LastResultIcon));
  }
}

std::string ForceStopAction() {
  HWND window = ForceStopTargetWindow();
  DWORD processId = 0;  // stays 0 when there is no window
  GetWindowThreadProcessId(window, &processId);
  // By id, not by name: a namesake of the foreground program must survive.
  const Termination termination = TerminateNamedProcess(processId);

  ForceStopReport report{};
  if (termination.result == 1) {
    // The sound starts first; the box, if any, does not wait for it.
    PlayClip(assets::SuccessClip, assets::SuccessClipSize, false);
    report = SuccessReport(termination.name);
  } else {
    report = FailureReport(termination.name);
  }
  LastResultTitle = report.title;
  LastResultIcon = report.icon;
  return report.text;
}

}  // namespace vornik
