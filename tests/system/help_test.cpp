// The help item driven from outside: the box it shows, filled with version
// strings read from the executable file on disk at each command.
#include <doctest.h>
#include <windows.h>
#include <psapi.h>

#include "common/ids.h"
#include "common/texts.h"
#include "driver.h"
#include "version_resource.h"

using namespace test;
namespace ids = vornik::ids;
namespace texts = vornik::texts;

namespace {

constexpr char kChineseSimplified[] = "080404b0";

std::string HelpText(const std::string& version, const std::string& maker) {
  return "Vornik当前窗口程序，执行热键 control windows+delete；退出程序热键 control "
         "windows+ESC。软件版本" +
         version + "，BY " + maker + "。";
}

VersionInfo Chinese(std::vector<std::pair<std::string, std::string>> strings) {
  return {{{0x0804, 0x04B0}}, {{kChineseSimplified, std::move(strings)}}};
}

// A copy of the program whose file carries `resource` (none: no version
// resource at all), started and ready.
Vornik StartWithVersion(const std::optional<VersionInfo>& resource) {
  const std::string exe = CopyFileTo(BuiltVornikPath(), NewCaseFolder(), "Vornik.exe");
  REQUIRE(WriteVersionResource(exe, resource ? VersionResourceBytes(*resource) : ""));
  Vornik vornik = Vornik::Start(exe);
  REQUIRE(vornik.WaitReady());
  return vornik;
}

// Chooses the help item and returns the box's text after checking its title;
// the box is closed again.
std::string HelpBoxText(Vornik& vornik) {
  vornik.PostCommand(ids::kHelpCommand);
  auto box = WaitMessageBox(vornik.process().Id());
  REQUIRE(box.has_value());
  CHECK(box->title == texts::kHelpTitle);
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return MessageBoxesOf(vornik.process().Id()).empty(); }));
  return box->text;
}

// Overwrites `from` with `to` (same length) in the loaded image of the
// process's exe.
bool ReplaceInImage(const Process& process, const std::string& from, const std::string& to) {
  REQUIRE(from.size() == to.size());
  HMODULE exe = nullptr;
  DWORD needed = 0;
  MODULEINFO module = {};
  if (!EnumProcessModules(process.Handle(), &exe, sizeof exe, &needed) ||
      !GetModuleInformation(process.Handle(), exe, &module, sizeof module)) {
    return false;
  }
  std::string image(module.SizeOfImage, '\0');
  SIZE_T read = 0;
  if (!ReadProcessMemory(process.Handle(), module.lpBaseOfDll, image.data(), image.size(), &read)) {
    return false;
  }
  const std::size_t at = image.find(from);
  if (at == std::string::npos) return false;
  void* target = static_cast<char*>(module.lpBaseOfDll) + at;
  DWORD protection = 0;
  if (!VirtualProtectEx(process.Handle(), target, to.size(), PAGE_READWRITE, &protection)) {
    return false;
  }
  const bool written =
      WriteProcessMemory(process.Handle(), target, to.data(), to.size(), nullptr) != 0;
  VirtualProtectEx(process.Handle(), target, to.size(), protection, &protection);
  return written;
}

void PressKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 0);
  PostMessageA(window, WM_KEYUP, key, 0xC0000000);
}

}  // namespace

TEST_CASE("the help box shows FileVersion and CompanyName from the file's resource") {
  const std::string longVersion = std::string(254, '7') + "版";  // 256 bytes
  std::string longMaker;
  for (int i = 0; i < 150; ++i) longMaker += "版";
  struct Case {
    const char* name;
    std::optional<VersionInfo> resource;
    std::string version;
    std::string maker;
  };
  const Case cases[] = {
      {"Chinese table", Chinese({{"FileVersion", "3.4.5.6"}, {"CompanyName", "某某 工作室"}}),
       "3.4.5.6", "某某 工作室"},
      {"percent signs verbatim",
       Chinese({{"FileVersion", "1.0%s%d%%"}, {"CompanyName", "100% %n"}}), "1.0%s%d%%",
       "100% %n"},
      {"no CompanyName", Chinese({{"FileVersion", "2.0"}, {"ProductName", "Vornik"}}), "2.0", ""},
      {"no translation table: the 040904E4 table",
       VersionInfo{std::nullopt,
                   {{kChineseSimplified, {{"FileVersion", "wrong"}, {"CompanyName", "wrong"}}},
                    {"040904E4", {{"FileVersion", "9.9"}, {"CompanyName", "default table"}}}}},
       "9.9", "default table"},
      {"the table the translation names, not the first",
       VersionInfo{{{0x0409, 0x04B0}},
                   {{kChineseSimplified, {{"FileVersion", "wrong"}, {"CompanyName", "wrong"}}},
                    {"040904b0", {{"FileVersion", "4.4"}, {"CompanyName", "English"}}}}},
       "4.4", "English"},
      {"translation names a missing table",
       VersionInfo{{{0x0409, 0x04E4}}, {{kChineseSimplified, {{"FileVersion", "wrong"}}}}}, "",
       ""},
      {"no version resource", std::nullopt, "", ""},
      {"strings over 255 bytes cut before a whole character",
       Chinese({{"FileVersion", longVersion}, {"CompanyName", longMaker}}),
       std::string(254, '7'), longMaker.substr(0, 254)},
  };
  for (const Case& c : cases) {
    CAPTURE(c.name);
    Vornik vornik = StartWithVersion(c.resource);
    CHECK(HelpBoxText(vornik) == HelpText(c.version, c.maker));
    CHECK(vornik.process().Running());
  }
}

TEST_CASE("the help item chosen from the tray popup shows the program's own version and maker") {
  Vornik vornik = Vornik::LaunchReady();
  const DWORD pid = vornik.process().Id();
  vornik.PostTrayCallback(WM_RBUTTONUP);
  HWND popup = WaitPopupMenu(pid);
  REQUIRE(popup != nullptr);
  PressKey(popup, 'H');  // the help item's mnemonic
  auto box = WaitMessageBox(pid);
  REQUIRE(box.has_value());
  CHECK(box->title == texts::kHelpTitle);
  CHECK(box->text == HelpText("1.2.8.7", "Vornik contributors"));
  CloseMessageBox(box->window);
  REQUIRE(WaitUntil([&] { return MessageBoxesOf(pid).empty(); }));
  CHECK(vornik.process().Running());
}

TEST_CASE("each help command reads the version resource again") {
  const VersionInfo first = Chinese({{"FileVersion", "1.0"}, {"CompanyName", "first"}});
  const VersionInfo later = Chinese({{"FileVersion", "2.0"}, {"CompanyName", "later"}});
  Vornik vornik = StartWithVersion(first);
  CHECK(HelpBoxText(vornik) == HelpText("1.0", "first"));

  // The system's version reader answers a running exe's own path from the
  // image already loaded, and the file cannot be rewritten while it runs, so
  // the change is made where the reader looks: in the loaded image.
  REQUIRE(ReplaceInImage(vornik.process(), VersionResourceBytes(first),
                         VersionResourceBytes(later)));
  CHECK(HelpBoxText(vornik) == HelpText("2.0", "later"));
}
