#include "common/message_box.h"

#include <windows.h>

#include "common/message_style.h"

namespace vornik {

void ShowMessage(const char* text, const char* title, std::uint32_t style) {
  MessageBoxA(nullptr, text, title, MessageBoxStyle(style));
}

}  // namespace vornik
