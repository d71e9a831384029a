// Setting one value in an INI file's bytes: only that key's line may change.
#include <doctest.h>

#include <string>

#include "tray/ini_edit.h"

using namespace vornik;

namespace {

std::string Set(const std::string& bytes) {
  return WithIniValue(bytes, "enforce stop", "k", "1");
}

}  // namespace

TEST_CASE("a key's line is replaced, added to its section, or its section appended") {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"no file yet", "", "[enforce stop]\r\nk=1\r\n"},
      {"the key's line is rewritten, its ending kept",
       "; note\r\n[enforce stop]\r\nk=0\nother=x\r\n", "; note\r\n[enforce stop]\r\nk=1\nother=x\r\n"},
      {"names match as the reader matches them", "[ Enforce STOP ]\r\n  K \t= old value\r\n",
       "[ Enforce STOP ]\r\nk=1\r\n"},
      {"only the first of a duplicated key", "[enforce stop]\r\nk=0\r\nk=0\r\n",
       "[enforce stop]\r\nk=1\r\nk=0\r\n"},
      {"a key of another section is not ours", "[other]\r\nk=0\r\n",
       "[other]\r\nk=0\r\n[enforce stop]\r\nk=1\r\n"},
      {"a missing key goes after the section's last line, before blank lines",
       "[enforce stop]\r\na=b\r\n\r\n[other]\r\nk=0\r\n",
       "[enforce stop]\r\na=b\r\nk=1\r\n\r\n[other]\r\nk=0\r\n"},
      {"the last line without its ending", "[enforce stop]\r\na=b",
       "[enforce stop]\r\na=b\r\nk=1\r\n"},
      {"a key only in a later section of that name is added to the first",
       "[enforce stop]\r\na=b\r\n[x]\r\n[enforce stop]\r\nk=0\r\n",
       "[enforce stop]\r\na=b\r\nk=1\r\n[x]\r\n[enforce stop]\r\nk=0\r\n"},
      {"a line that only mentions the key", "[enforce stop]\r\n;k=0\r\nkk=0\r\n",
       "[enforce stop]\r\n;k=0\r\nkk=0\r\nk=1\r\n"},
      {"bytes that are no text survive", std::string("\0\x81\xFF=\x80junk", 9),
       std::string("\0\x81\xFF=\x80junk", 9) + "\r\n[enforce stop]\r\nk=1\r\n"},
      {"NULs inside the section", std::string("[enforce stop]\r\nk=\0zero\r\nz=\0\r\n", 30),
       std::string("[enforce stop]\r\nk=1\r\nz=\0\r\n", 26)},
  };
  for (const Case& c : cases) {
    CAPTURE(std::string(c.name));
    CHECK(Set(c.before) == c.after);
  }
}

TEST_CASE("a large value is replaced whole, the lines after it kept") {
  const std::string big(1 << 20, '1');
  CHECK(Set("[enforce stop]\r\nk=" + big + "\r\nz=0\r\n") == "[enforce stop]\r\nk=1\r\nz=0\r\n");
}

TEST_CASE("byte-order marks") {
  CHECK(StartsWithByteOrderMark("\xFF\xFE["));
  CHECK(StartsWithByteOrderMark("\xFE\xFF"));
  CHECK(StartsWithByteOrderMark("\xEF\xBB\xBF[x]"));
  CHECK_FALSE(StartsWithByteOrderMark("\xFF"));
  CHECK_FALSE(StartsWithByteOrderMark(""));
  CHECK_FALSE(StartsWithByteOrderMark("[enforce stop]"));
}
