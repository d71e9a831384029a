// Settings files a user, another program or a broken disk may leave behind:
// Vornik starts with what it can read (the defaults where it can read
// nothing), never rewrites the file at start-up, and a flip touches only its
// own key.
#include <doctest.h>

#include <functional>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"
#include "settings_file.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

const std::string kShow = texts::kShowResultKey;
const std::string kAuto = texts::kAutoStartKey;
const std::string kSection = std::string("[") + texts::kSettingsSection + "]\r\n";

std::string Utf16WithMark(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

// Bytes that are no text at all: every byte value, NULs and lone lead bytes
// of the code page included, with no line breaks. (Starting with FF FE they
// would read as UTF-16.)
std::string Garbage() {
  std::string bytes;
  for (int round = 0; round < 4; ++round) {
    for (int b = 0; b < 256; ++b) {
      if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
    }
  }
  return bytes;
}

struct Case {
  const char* name;
  // Prepares config.ini in the folder; returns what must keep the file in its
  // state for the run (a lock), if anything.
  std::function<UniqueHandle(const std::string& config)> prepare;
  bool showStartsOn;
  bool autoStartsOn;
  // The bytes after the result-message switch has flipped; none: the path
  // holds no file.
  std::function<std::optional<std::string>(const std::string& before)> afterFlip;
};

UniqueHandle Write(const std::string& config, const std::string& bytes) {
  WriteFileBytes(config, bytes);
  return UniqueHandle();
}

// The file with `key`'s first line changed to `value`: all a flip may change.
std::string WithValue(std::string bytes, const std::string& key, const char* value) {
  const std::string marker = "\r\n" + key + "=";
  size_t at = bytes.find(marker);
  REQUIRE(at != std::string::npos);
  at += marker.size();
  const size_t end = bytes.find("\r\n", at);
  return bytes.replace(at, end - at, value);
}

// Whether the result box follows a force stop: the result-message switch.
bool ForceStopShowsBox(Vornik& vornik) {
  Target target = Target::Launch(NewCaseFolder(), "victim.exe");
  REQUIRE(target.WaitForeground());
  vornik.PostHotkey(kForceStopId);
  REQUIRE(target.process().WaitExit());
  auto box = WaitMessageBox(vornik.process().Id(), 2500);
  if (!box) return false;
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return !IsWindow(box->window); }));
  return true;
}

// Runs a flip of the result-message switch to its end: the help box that is
// asked for after it shows once the flip is done.
void FlipShowResult(Vornik& vornik) {
  vornik.PostCommand(ids::kShowResultCommand);
  vornik.PostCommand(ids::kHelpCommand);
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return !IsWindow(box->window); }));
}

}  // namespace

TEST_CASE("hostile config.ini files: start-up values, no rewrite, a flip writes only its key") {
  const std::string bigValue(1 << 20, '1');
  const Case cases[] = {
      {"no section of ours",
       [](const std::string& c) { return Write(c, "[other]\r\n" + kShow + "=0\r\n" + kAuto + "=1\r\n"); },
       true, false,
       [](const std::string& before) -> std::optional<std::string> {
         return before + kSection + kShow + "=0\r\n";
       }},
      // Kept byte for byte; our section follows on a line of its own.
      {"binary garbage", [](const std::string& c) { return Write(c, Garbage()); }, true, false,
       [](const std::string& before) -> std::optional<std::string> {
         return before + "\r\n" + kSection + kShow + "=0\r\n";
       }},
      {"a 1 MiB value",
       [&](const std::string& c) {
         return Write(c, kSection + kShow + "=" + bigValue + "\r\n" + kAuto + "=0\r\n");
       },
       false, false,
       [](const std::string& before) -> std::optional<std::string> {
         return WithValue(before, kShow, "1");
       }},
      // Read as Unicode text; written by the platform, which keeps the encoding.
      {"UTF-16 with a byte-order mark",
       [](const std::string& c) {
         return Write(c, Utf16WithMark(L"[enforce stop]\r\n\u5f39\u6846=0\r\n\u81ea\u542f=1\r\n"));
       },
       false, true,
       [](const std::string&) -> std::optional<std::string> {
         return Utf16WithMark(L"[enforce stop]\r\n\u5f39\u6846=1\r\n\u81ea\u542f=1\r\n");
       }},
      // The first of the two counts, and only it is rewritten.
      {"a duplicated key",
       [](const std::string& c) {
         return Write(c, kSection + kShow + "=0\r\n" + kAuto + "=1\r\n" + kShow + "=1\r\n");
       },
       false, true,
       [](const std::string& before) -> std::optional<std::string> {
         return WithValue(before, kShow, "1");
       }},
      {"read-only attribute",
       [](const std::string& c) {
         Write(c, kSection + kShow + "=0\r\n");
         SetFileAttributesA(c.c_str(), FILE_ATTRIBUTE_READONLY);
         return UniqueHandle();
       },
       false, false,
       // Wine run as root writes through the attribute (a normal user's write
       // is refused, as the settings tests show with a handle that denies it).
       [](const std::string& before) -> std::optional<std::string> {
         return WithValue(before, kShow, "1");
       }},
      {"a folder named config.ini",
       [](const std::string& c) {
         CreateDirectoryA(c.c_str(), nullptr);
         return UniqueHandle();
       },
       true, false, [](const std::string&) -> std::optional<std::string> { return std::nullopt; }},
      {"locked by another program",
       [](const std::string& c) {
         Write(c, kSection + kShow + "=0\r\n" + kAuto + "=1\r\n");
         return UniqueHandle(CreateFileA(c.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
       },
       true, false,  // nothing can be read: the defaults
       [](const std::string& before) -> std::optional<std::string> { return before; }},
  };
  for (const Case& c : cases) {
    const std::string name = c.name;
    CAPTURE(name);
    const std::string folder = NewCaseFolder();
    const std::string config = ConfigPath(folder);
    DeleteFileA(StartupShortcut().c_str());
    UniqueHandle lock = c.prepare(config);
    const bool isFolder = (GetFileAttributesA(config.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Read past the lock with a handle that shares everything.
    auto bytesNow = [&]() -> std::optional<std::string> {
      if (isFolder) return std::nullopt;
      if (lock) {  // the lock shares nothing, not even with this process
        std::string bytes(GetFileSize(lock.get(), nullptr), '\0');
        DWORD read = 0;
        SetFilePointer(lock.get(), 0, nullptr, FILE_BEGIN);
        ReadFile(lock.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
        return bytes;
      }
      UniqueHandle file(CreateFileA(config.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
      if (!file) return ReadFileBytes(config);
      std::string bytes(GetFileSize(file.get(), nullptr), '\0');
      DWORD read = 0;
      ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
      bytes.resize(read);
      return bytes;
    };
    const std::optional<std::string> before = isFolder ? std::nullopt : bytesNow();

    Vornik vornik = Vornik::Launch(folder);
    REQUIRE(vornik.WaitReady());
    PumpFor(200);
    CHECK(bytesNow() == before);  // start-up only reads

    CHECK(ForceStopShowsBox(vornik) == c.showStartsOn);
    FlipShowResult(vornik);
    const std::optional<std::string> after = bytesNow();
    const std::optional<std::string> expected = c.afterFlip(before.value_or(""));
    CHECK(after.has_value() == expected.has_value());
    if (after && expected) {
      CHECK(after->size() == expected->size());
      CHECK((*after == *expected));  // (not printed: may be 1 MiB)
    }
    CHECK(isFolder == ((GetFileAttributesA(config.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0));

    // Start with Windows flips from the state start-up read: on clears the
    // shortcut, off makes it.
    vornik.PostCommand(ids::kAutoStartCommand);
    REQUIRE(CommandThenQuit(vornik, {}));
    CHECK(FileExists(StartupShortcut()) == !c.autoStartsOn);
    DeleteFileA(StartupShortcut().c_str());

    const bool locked = static_cast<bool>(lock);
    lock.reset();
    SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Once the lock is gone the user's bytes are still all there.
    if (locked) CHECK(bytesNow() == before);
  }
}
