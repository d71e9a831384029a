#include "version_resource.h"

#include <cstring>

namespace test {

namespace {

struct Node {
  std::wstring key;
  WORD type = 1;           // 1 text, 0 binary
  std::string value;       // raw bytes
  WORD valueLength = 0;    // characters for text, bytes for binary
  std::vector<Node> children;
};

std::wstring Wide(const std::string& ansi) {
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

void AlignTo4(std::string& out) {
  while (out.size() % 4) out += '\0';
}

void PutWord(std::string& out, std::size_t at, WORD value) { std::memcpy(&out[at], &value, 2); }

std::string WideBytes(const std::wstring& text) {
  std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  return bytes;
}

// Every node starts on a 4-byte boundary of the resource: header, key,
// padding, value, padding, children.
std::string Serialize(const Node& node) {
  std::string out(6, '\0');
  out += WideBytes(node.key);
  AlignTo4(out);
  out += node.value;
  for (const Node& child : node.children) {
    AlignTo4(out);
    out += Serialize(child);
  }
  PutWord(out, 0, static_cast<WORD>(out.size()));
  PutWord(out, 2, node.valueLength);
  PutWord(out, 4, node.type);
  return out;
}

Node TextNode(const std::string& name, const std::string& value) {
  const std::wstring wide = Wide(value);
  return {Wide(name), 1, WideBytes(wide), static_cast<WORD>(wide.size() + 1), {}};
}

std::string FixedFileInfo() {
  VS_FIXEDFILEINFO fixed = {};
  fixed.dwSignature = VS_FFI_SIGNATURE;
  fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
  fixed.dwFileOS = VOS__WINDOWS32;
  fixed.dwFileType = VFT_APP;
  return std::string(reinterpret_cast<const char*>(&fixed), sizeof fixed);
}

}  // namespace

std::string VersionResourceBytes(const VersionInfo& info) {
  Node root{L"VS_VERSION_INFO", 0, FixedFileInfo(), sizeof(VS_FIXEDFILEINFO), {}};
  Node stringFileInfo{L"StringFileInfo", 1, "", 0, {}};
  for (const VersionStringTable& table : info.tables) {
    Node tableNode{Wide(table.key), 1, "", 0, {}};
    for (const auto& [name, value] : table.strings) tableNode.children.push_back(TextNode(name, value));
    stringFileInfo.children.push_back(tableNode);
  }
  root.children.push_back(stringFileInfo);
  if (info.translation) {
    const DWORD pair = MAKELONG(info.translation->first, info.translation->second);
    Node translation{L"Translation", 0, std::string(reinterpret_cast<const char*>(&pair), 4), 4, {}};
    root.children.push_back(Node{L"VarFileInfo", 1, "", 0, {translation}});
  }
  return Serialize(root);
}

bool WriteVersionResource(const std::string& exePath, const std::string& bytes) {
  // Wine's UpdateResource does not delete a single resource, so an exe
  // without version information loses all its resources.
  HANDLE update = BeginUpdateResourceA(exePath.c_str(), bytes.empty());
  if (!update) return false;
  const bool put =
      bytes.empty() ||
      UpdateResourceA(update, RT_VERSION, MAKEINTRESOURCEA(1),
                      MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
                      const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size())) != 0;
  return EndUpdateResourceA(update, !put) != 0 && put;
}

}  // namespace test
