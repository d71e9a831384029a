#include "tray/ini_edit.h"

#include <vector>

namespace vornik {

namespace {

struct Line {
  size_t start;    // first byte
  size_t end;      // one past the last byte before the line ending
  size_t next;     // start of the next line
};

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t newline = bytes.find('\n', start);
    size_t next = newline == std::string_view::npos ? bytes.size() : newline + 1;
    size_t end = newline == std::string_view::npos ? bytes.size() : newline;
    if (end > start && bytes[end - 1] == '\r') --end;
    lines.push_back({start, end, next});
    start = next;
  }
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  const char* blanks = " \t";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// The name of a section header line, or nothing when it is not one.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trimmed(line);
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.find(']');
  name = Trimmed(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
  return true;
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  const size_t equals = line.find('=');
  return equals != std::string_view::npos && SameName(Trimmed(line.substr(0, equals)), key);
}

}  // namespace

std::string WithIniValue(std::string_view bytes, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  const std::vector<Line> lines = SplitLines(bytes);
  auto text = [&](const Line& line) { return bytes.substr(line.start, line.end - line.start); };

  bool inSection = false;
  bool sectionFound = false;
  size_t insertAt = 0;  // after the last non-blank line of the section
  for (const Line& line : lines) {
    std::string_view name;
    if (SectionName(text(line), name)) {
      if (inSection) break;  // the section ended without the key
      inSection = SameName(name, section);
      if (inSection && !sectionFound) {
        sectionFound = true;
        insertAt = line.next;
      } else {
        inSection = false;
      }
      continue;
    }
    if (!inSection) continue;
    if (IsKeyLine(text(line), key)) {
      return std::string(bytes.substr(0, line.start)) + keyLine +
             std::string(bytes.substr(line.end));
    }
    if (!Trimmed(text(line)).empty()) insertAt = line.next;
  }

  std::string result(bytes);
  if (sectionFound) {
    std::string insertion = keyLine + "\r\n";
    // The section's last line may be the file's last, without a line ending.
    if (insertAt == bytes.size() && !bytes.empty() && bytes.back() != '\n') {
      insertion = "\r\n" + insertion;
    }
    return result.insert(insertAt, insertion);
  }
  if (!result.empty() && result.back() != '\n') result += "\r\n";
  return result + "[" + std::string(section) + "]\r\n" + keyLine + "\r\n";
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  return startsWith("\xFF\xFE") || startsWith("\xFE\xFF") || startsWith("\xEF\xBB\xBF");
}

}  // namespace vornik
