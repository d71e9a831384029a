#include "tray/help_text.h"

namespace vornik {

namespace {

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> texts) {
  std::size_t total = format.size();
  for (std::string_view text : texts) total += text.size();
  std::string out;
  out.reserve(total);

  const std::string_view* next = texts.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const char following = i + 1 < format.size() ? format[i + 1] : '\0';
    if (c == '%' && following == 's') {
      if (next != texts.end()) out += *next++;
      ++i;
    } else if (c == '%' && following == '%') {
      out += '%';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string CutGbkText(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

std::string VersionTableKey(std::uint16_t language, std::uint16_t codePage) {
  // By hand rather than with snprintf, whose static implementation alone is
  // tens of kilobytes of the executable.
  constexpr char kHexDigits[] = "0123456789abcdef";
  const std::uint32_t both = (std::uint32_t{language} << 16) | codePage;
  std::string key(8, '0');
  for (int i = 0; i < 8; ++i) key[7 - i] = kHexDigits[(both >> (4 * i)) & 0xF];
  return key;
}

}  // namespace vornik
