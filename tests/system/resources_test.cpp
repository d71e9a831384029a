// The resources of the built executables, read back from the files: the
// 64-bit build beside this test and the 32-bit product. The product is only
// loaded as data, so a 64-bit test can read it.
#include <doctest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver.h"

using namespace test;

namespace {

// The product build's exe, as the presets place it (a Unix path, seen through
// Wine's Z: drive).
std::string ProductExePath() {
  std::string path = "Z:" VORNIK_PRODUCT_EXE;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

WORD MachineOf(const std::string& path) {
  const std::string file = ReadFileBytes(path);
  if (file.size() < 0x40) return 0;
  DWORD peOffset;
  std::memcpy(&peOffset, file.data() + 0x3C, sizeof peOffset);
  if (file.size() < peOffset + 6) return 0;
  WORD machine;
  std::memcpy(&machine, file.data() + peOffset + 4, sizeof machine);
  return machine;
}

struct Build {
  const char* name;
  std::string path;
  WORD machine;
  const char* architecture;  // in the manifest
};

std::vector<Build> Builds() {
  return {
      {"64-bit test build", BuiltVornikPath(), IMAGE_FILE_MACHINE_AMD64, "amd64"},
      {"32-bit product", ProductExePath(), IMAGE_FILE_MACHINE_I386, "x86"},
  };
}

vornik::UniqueModule LoadAsData(const std::string& path) {
  return vornik::UniqueModule(LoadLibraryExA(
      path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// A resource name as text: "#3" for a number.
std::string NameText(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
  return name;
}

std::vector<std::string> NamesOf(HMODULE module, LPCSTR type) {
  std::vector<std::string> names;
  EnumResourceNamesA(
      module, type,
      [](HMODULE, LPCSTR, LPSTR name, LONG_PTR param) -> BOOL {
        reinterpret_cast<std::vector<std::string>*>(param)->push_back(NameText(name));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::vector<WORD> LanguagesOf(HMODULE module, LPCSTR type, LPCSTR name) {
  std::vector<WORD> languages;
  EnumResourceLanguagesA(
      module, type, name,
      [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) -> BOOL {
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

std::string ResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
  HRSRC found = FindResourceExA(module, type, name, language);
  if (!found) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kChineseSimplified = 0x0804;

// One node of a version resource: key, value bytes, children.
struct VersionNode {
  std::wstring key;
  std::string value;
  std::vector<VersionNode> children;
};

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

// Parses the node at `offset`; false when it does not fit in `data`.
bool ParseVersionNode(const std::string& data, size_t offset, VersionNode& node) {
  if (offset + 6 > data.size()) return false;
  WORD header[3];
  std::memcpy(header, data.data() + offset, sizeof header);
  const size_t length = header[0], valueLength = header[1], type = header[2];
  if (length < 6 || offset + length > data.size()) return false;
  const size_t end = offset + length;
  size_t at = offset + 6;
  for (;;) {
    if (at + 2 > end) return false;
    wchar_t c;
    std::memcpy(&c, data.data() + at, 2);
    at += 2;
    if (c == 0) break;
    node.key += c;
  }
  at = Align4(at);
  const size_t valueBytes = type == 1 ? valueLength * 2 : valueLength;
  if (at + valueBytes > end) return false;
  node.value = data.substr(at, valueBytes);
  at = Align4(at + valueBytes);
  while (at < end) {
    VersionNode child;
    if (!ParseVersionNode(data, at, child)) return false;
    WORD childLength;
    std::memcpy(&childLength, data.data() + at, 2);
    node.children.push_back(child);
    at = Align4(at + childLength);
  }
  return true;
}

std::vector<std::wstring> KeysOf(const VersionNode& node) {
  std::vector<std::wstring> keys;
  for (const VersionNode& child : node.children) keys.push_back(child.key);
  return keys;
}

std::string VersionString(const std::vector<char>& info, const std::string& key) {
  void* value = nullptr;
  UINT length = 0;
  const std::string query = "\\StringFileInfo\\080404B0\\" + key;
  if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || value == nullptr) {
    return "<absent>";
  }
  return static_cast<const char*>(value);
}

}  // namespace

TEST_CASE("both builds are what they claim to be") {
  for (const Build& build : Builds()) {
    CAPTURE(build.name);
    INFO("missing? build the product preset first: scripts/build.sh product");
    CHECK(MachineOf(build.path) == build.machine);
  }
}

TEST_CASE("the icon group DEFAULT_ICON and its three 16-colour images 3, 4, 5") {
  for (const Build& build : Builds()) {
    CAPTURE(build.name);
    vornik::UniqueModule module = LoadAsData(build.path);
    REQUIRE(module);

    // The only group, so the shell shows it as the file's icon.
    CHECK(NamesOf(module.get(), RT_GROUP_ICON) == std::vector<std::string>{"DEFAULT_ICON"});
    CHECK(LanguagesOf(module.get(), RT_GROUP_ICON, "DEFAULT_ICON") == std::vector<WORD>{kNeutral});
    const std::string group = ResourceBytes(module.get(), RT_GROUP_ICON, "DEFAULT_ICON", kNeutral);
    REQUIRE(group.size() == 6 + 3 * 14);
    WORD directory[3];
    std::memcpy(directory, group.data(), sizeof directory);
    CHECK(directory[0] == 0);
    CHECK(directory[1] == 1);
    CHECK(directory[2] == 3);

    CHECK(NamesOf(module.get(), RT_ICON) == std::vector<std::string>{"#3", "#4", "#5"});
    struct Image {
      BYTE size;
      DWORD bytes;
      WORD id;
    };
    const Image images[] = {{16, 296, 3}, {32, 744, 4}, {48, 1640, 5}};
    for (int i = 0; i < 3; ++i) {
      CAPTURE(i);
      const char* entry = group.data() + 6 + 14 * i;
      const auto byteAt = [&](int n) { return static_cast<BYTE>(entry[n]); };
      WORD planes, bitCount, id;
      DWORD bytes;
      std::memcpy(&planes, entry + 4, 2);
      std::memcpy(&bitCount, entry + 6, 2);
      std::memcpy(&bytes, entry + 8, 4);
      std::memcpy(&id, entry + 12, 2);
      CHECK(byteAt(0) == images[i].size);
      CHECK(byteAt(1) == images[i].size);
      CHECK(byteAt(2) == 16);
      CHECK(byteAt(3) == 0);
      CHECK(planes == 1);
      CHECK(bitCount == 4);
      CHECK(bytes == images[i].bytes);
      CHECK(id == images[i].id);

      LPCSTR name = MAKEINTRESOURCEA(images[i].id);
      CHECK(LanguagesOf(module.get(), RT_ICON, name) == std::vector<WORD>{kNeutral});
      const std::string image = ResourceBytes(module.get(), RT_ICON, name, kNeutral);
      REQUIRE(image.size() == images[i].bytes);
      BITMAPINFOHEADER header;
      std::memcpy(&header, image.data(), sizeof header);
      CHECK(header.biWidth == images[i].size);
      CHECK(header.biHeight == 2 * images[i].size);
      CHECK(header.biBitCount == 4);
    }
  }
}

TEST_CASE("the version resource: fixed part, one Chinese string table in order, translation") {
  for (const Build& build : Builds()) {
    CAPTURE(build.name);
    const DWORD size = GetFileVersionInfoSizeA(build.path.c_str(), nullptr);
    REQUIRE(size > 0);
    std::vector<char> info(size);
    REQUIRE(GetFileVersionInfoA(build.path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    REQUIRE(length == sizeof(VS_FIXEDFILEINFO));
    CHECK(fixed->dwSignature == 0xFEEF04BD);
    CHECK(fixed->dwFileVersionMS == 0x00010002);
    CHECK(fixed->dwFileVersionLS == 0x00080007);
    CHECK(fixed->dwProductVersionMS == 0x00010002);
    CHECK(fixed->dwProductVersionLS == 0x00080007);
    CHECK(fixed->dwFileFlagsMask == 0);
    CHECK(fixed->dwFileFlags == 0);
    CHECK(fixed->dwFileOS == VOS__WINDOWS32);
    CHECK(fixed->dwFileType == VFT_APP);
    CHECK(fixed->dwFileSubtype == 0);
    CHECK(fixed->dwFileDateMS == 0);
    CHECK(fixed->dwFileDateLS == 0);

    WORD* translation = nullptr;
    REQUIRE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &length));
    REQUIRE(length == 4);
    CHECK(translation[0] == 0x0804);
    CHECK(translation[1] == 0x04B0);

    // As the help box reads them: ANSI, code page 936.
    CHECK(VersionString(info, "FileVersion") == "1.2.8.7");
    CHECK(VersionString(info, "ProductVersion") == "1.2.8.7");
    CHECK(VersionString(info, "ProductName") == "Vornik");
    CHECK(VersionString(info, "CompanyName") == "Vornik contributors");
    CHECK(VersionString(info, "LegalCopyright") == "版权所有 (C) Vornik contributors");
    CHECK(VersionString(info, "FileDescription") ==
          "强制停止当前窗口程序，专治懒到连任务管理器都懒得打开的人：热键 control "
          "windows+delete 强制停止，control Windows+ESC 退出程序。");
    for (const char* absent : {"InternalName", "OriginalFilename", "LegalTrademarks"}) {
      CAPTURE(absent);
      CHECK(VersionString(info, absent) == "<absent>");
    }

    // The order of the keys, from the raw resource: number 1, Chinese only.
    vornik::UniqueModule module = LoadAsData(build.path);
    REQUIRE(module);
    CHECK(NamesOf(module.get(), RT_VERSION) == std::vector<std::string>{"#1"});
    CHECK(LanguagesOf(module.get(), RT_VERSION, MAKEINTRESOURCEA(1)) ==
          std::vector<WORD>{kChineseSimplified});
    const std::string raw =
        ResourceBytes(module.get(), RT_VERSION, MAKEINTRESOURCEA(1), kChineseSimplified);
    VersionNode root;
    REQUIRE(ParseVersionNode(raw, 0, root));
    CHECK(root.key == L"VS_VERSION_INFO");
    CHECK(KeysOf(root) == std::vector<std::wstring>{L"StringFileInfo", L"VarFileInfo"});
    REQUIRE(root.children.size() == 2);
    const VersionNode& strings = root.children[0];
    REQUIRE(KeysOf(strings) == std::vector<std::wstring>{L"080404B0"});
    CHECK(KeysOf(strings.children[0]) ==
          std::vector<std::wstring>{L"FileVersion", L"FileDescription", L"ProductName",
                                    L"ProductVersion", L"CompanyName", L"LegalCopyright"});
    CHECK(KeysOf(root.children[1]) == std::vector<std::wstring>{L"Translation"});
  }
}

TEST_CASE("the manifest asks for common controls 6 for the build's architecture") {
  for (const Build& build : Builds()) {
    CAPTURE(build.name);
    vornik::UniqueModule module = LoadAsData(build.path);
    REQUIRE(module);
    CHECK(NamesOf(module.get(), RT_MANIFEST) == std::vector<std::string>{"#1"});
    CHECK(LanguagesOf(module.get(), RT_MANIFEST, MAKEINTRESOURCEA(1)) ==
          std::vector<WORD>{kNeutral});
    const std::string manifest =
        ResourceBytes(module.get(), RT_MANIFEST, MAKEINTRESOURCEA(1), kNeutral);
    CAPTURE(manifest);
    const std::string arch = std::string("processorArchitecture=\"") + build.architecture + "\"";
    const auto has = [&](const std::string& text) {
      return manifest.find(text) != std::string::npos;
    };
    CHECK(has("manifestVersion=\"1.0\""));
    // Its own identity, then the one dependency.
    const size_t own = manifest.find("<assemblyIdentity");
    const size_t dependency = manifest.find("<dependentAssembly>");
    REQUIRE(own != std::string::npos);
    REQUIRE(dependency != std::string::npos);
    CHECK(own < dependency);
    const std::string ownIdentity = manifest.substr(own, manifest.find("/>", own) - own);
    CHECK(ownIdentity.find("type=\"win32\"") != std::string::npos);
    CHECK(ownIdentity.find(arch) != std::string::npos);
    const std::string dependent = manifest.substr(dependency);
    for (const std::string& attribute :
         {std::string("type=\"win32\""), std::string("name=\"Microsoft.Windows.Common-Controls\""),
          std::string("version=\"6.0.0.0\""), arch,
          std::string("publicKeyToken=\"6595b64144ccf1df\""), std::string("language=\"*\"")}) {
      CAPTURE(attribute);
      CHECK(dependent.find(attribute) != std::string::npos);
    }
    CHECK(manifest.find("<dependency>") == manifest.rfind("<dependency>"));
  }
}
