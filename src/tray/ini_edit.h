// Setting one value in the bytes of an INI file while leaving every other byte
// as it was. The platform's writer re-creates the whole file from what it
// parsed, and what it cannot parse (bytes that are no text, a NUL in a line)
// it drops; a user's file must not lose anything because a switch flipped.
#pragma once

#include <string>
#include <string_view>

namespace vornik {

// `bytes` with `key` of `section` set to `value`. Names match as the
// platform's reader matches them: spaces and tabs around them ignored, ASCII
// letters without regard to case. The first line of the key in the first
// section of that name gets the new value and keeps its line ending; a missing
// key goes after the section's last non-blank line; a missing section is
// appended at the end. New lines end in CR LF.
std::string WithIniValue(std::string_view bytes, std::string_view section, std::string_view key,
                         std::string_view value);

// The file starts with a byte-order mark (UTF-16 either way, or UTF-8): it is
// not ANSI text, and only the platform's writer keeps its encoding.
bool StartsWithByteOrderMark(std::string_view bytes);

}  // namespace vornik
