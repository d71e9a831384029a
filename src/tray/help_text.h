// Building the help message's text; no Win32 needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vornik {

// The longest version string the help message takes, in bytes.
inline constexpr std::size_t kMaxVersionStringBytes = 255;

// Fills `format` as printf would with "%s" conversions only: each "%s" takes
// the next text (empty once they run out), "%%" gives "%", and any other "%"
// stays as it is. The inserted texts are copied verbatim, "%" included, and
// nothing is ever cut.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> texts);

// At most `maxBytes` bytes of a GBK text, cut before a double-byte character
// that would not fit whole.
std::string CutGbkText(std::string_view text, std::size_t maxBytes);

// The string-table key of a version resource: language and code page, each as
// four lower-case hexadecimal digits ("080404b0").
std::string VersionTableKey(std::uint16_t language, std::uint16_t codePage);

// The key used when the resource has no translation table.
inline constexpr char kDefaultVersionTableKey[] = "040904E4";

}  // namespace vornik
