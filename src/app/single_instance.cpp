#include "app/single_instance.h"

#include <windows.h>

#include "app/lifecycle.h"
#include "common/message_box.h"
#include "common/texts.h"

namespace vornik {

void SingleInstanceGuard(const char* eventName, const char* message, std::uint32_t style) {
  // Test and creation in one call: of two copies that get here at the same
  // instant, exactly one creates the event and the other sees it exist. A name
  // that cannot be opened or created (wrong object kind, no access) lets this
  // copy run, as if it were the first.
  HANDLE marker = CreateEventA(nullptr, FALSE, FALSE, eventName);
  if (marker == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
    return;  // first copy: the handle stays open for the life of the process
  }
  // Another copy holds the name. Our handle stays open too, so the marker
  // outlives the first copy while this box is up.
  ShowMessage(message, texts::kAlreadyRunningTitle, style);
  EndProgram(0);
}

}  // namespace vornik
