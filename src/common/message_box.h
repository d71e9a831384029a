// The program's one way of telling the user something: an ownerless box on the
// GUI thread. The caller waits; the box's own loop keeps dispatching messages,
// so hotkeys and tray clicks still run while it is open.
#pragma once

#include <cstdint>

namespace vornik {

void ShowMessage(const char* text, const char* title, std::uint32_t style);

}  // namespace vornik
