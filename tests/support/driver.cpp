#include "driver.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/ids.h"
#include "common/module_path.h"
#include "target_protocol.h"

namespace test {

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > ms) return condition();
    PumpFor(10);
  }
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

std::string TestBinDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return vornik::SplitModulePath(path).directory;
}

std::string BuiltVornikPath() { return TestBinDir() + "\\Vornik.exe"; }

std::string NewCaseFolder() {
  static int counter = 0;
  CreateDirectoryA("C:\\vornik-tests", nullptr);
  // Only a folder made just now: Wine hands out the same process ids again in
  // every session, and a folder left by an earlier run may hold its config.ini.
  for (;;) {
    std::string folder = "C:\\vornik-tests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++counter);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return folder;
  }
}

std::string CopyFileTo(const std::string& source, const std::string& folder,
                       const std::string& name) {
  std::string target = folder + "\\" + name;
  CopyFileA(source.c_str(), target.c_str(), FALSE);
  return target;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Process ------------------------------------------------------------------

Process Process::Start(const std::string& exePath, const std::string& commandLine) {
  Process process;
  std::string line = "\"" + exePath + "\"" + (commandLine.empty() ? "" : " " + commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string folder = vornik::SplitModulePath(exePath).directory;
  if (CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process.handle_.reset(info.hProcess);
    process.id_ = info.dwProcessId;
  }
  return process;
}

Process::~Process() { Kill(); }

bool Process::Running() const {
  return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD ms) const {
  if (!handle_) return false;
  return WaitUntil([&] { return WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0; }, ms);
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (handle_) GetExitCodeProcess(handle_.get(), &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(handle_.get(), 1);
    WaitForSingleObject(handle_.get(), kWait);
  }
}

// Windows and message boxes ------------------------------------------------

std::vector<HWND> WindowsOf(DWORD pid, const char* className) {
  struct Search {
    DWORD pid;
    const char* className;
    std::vector<HWND> found;
  } search{pid, className, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->pid) return TRUE;
        if (s->className) {
          char name[256] = {};
          GetClassNameA(window, name, sizeof name);
          if (lstrcmpA(name, s->className) != 0) return TRUE;
        }
        s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

std::string DescribeWindowsOf(DWORD pid) {
  std::string description;
  for (HWND window : WindowsOf(pid)) {
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (!description.empty()) description += ", ";
    description += std::string(className) + " \"" + WindowText(window) + "\"" +
                   (IsWindowVisible(window) ? "" : " (hidden)");
  }
  return description.empty() ? "none" : description;
}

std::string BacktracesOf(DWORD pid) {
  // Wine's debugger walks every thread of every process; this keeps the
  // process's own. Elsewhere there is no winedbg and the answer is empty.
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string file = std::string(folder) + "vornik-backtraces-" + std::to_string(pid) + ".txt";
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  UniqueHandle out(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                               CREATE_ALWAYS, 0, nullptr));
  if (!out) return {};
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.get();
  startup.hStdError = out.get();
  PROCESS_INFORMATION info = {};
  std::string line = "winedbg.exe --command \"bt all\"";
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    return {};
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  WaitForSingleObject(process.get(), 60000);
  out.reset();

  char ownMark[64];
  wsprintfA(ownMark, " in process %04x ", pid);
  std::istringstream all(ReadFileBytes(file));
  DeleteFileA(file.c_str());
  std::string kept;
  bool own = false;
  for (std::string text; std::getline(all, text);) {
    if (text.rfind("Backtracing for thread", 0) == 0) own = text.find(ownMark) != std::string::npos;
    if (own) kept += text + "\n";
  }
  return kept;
}

std::vector<MessageBoxInfo> MessageBoxesOf(DWORD pid) {
  std::vector<MessageBoxInfo> boxes;
  for (HWND window : WindowsOf(pid, "#32770")) {
    if (!IsWindowVisible(window)) continue;
    MessageBoxInfo box;
    box.window = window;
    box.title = WindowText(window);
    if (HWND text = GetDlgItem(window, 0xFFFF)) box.text = WindowText(text);
    boxes.push_back(box);
  }
  return boxes;
}

std::optional<MessageBoxInfo> WaitMessageBox(DWORD pid, DWORD ms) {
  return WaitOtherMessageBox(pid, nullptr, ms);
}

std::optional<MessageBoxInfo> WaitOtherMessageBox(DWORD pid, HWND except, DWORD ms) {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        for (const MessageBoxInfo& box : MessageBoxesOf(pid)) {
          if (box.window != except) {
            found = box;
            return true;
          }
        }
        return false;
      },
      ms);
  return found;
}

void CloseMessageBox(HWND box) {
  // A posted close takes seconds on a bare X server; a click on the button is
  // immediate.
  HWND button = FindWindowExA(box, nullptr, "Button", nullptr);
  if (button) {
    PostMessageA(button, BM_CLICK, 0, 0);
  } else {
    PostMessageA(box, WM_CLOSE, 0, 0);
  }
}

bool CloseMessageBoxAndWait(HWND box, DWORD ms) {
  CloseMessageBox(box);
  return WaitUntil([&] { return !IsWindow(box); }, ms);
}

// Vornik ---------------------------------------------------------------------

Vornik Vornik::Launch(const std::string& folder, const std::string& exeName) {
  return Start(CopyFileTo(BuiltVornikPath(), folder, exeName));
}

Vornik Vornik::Start(const std::string& exePath) {
  Vornik vornik;
  vornik.folder_ = vornik::SplitModulePath(exePath).directory;
  vornik.exePath_ = exePath;
  vornik.process_ = Process::Start(exePath);
  return vornik;
}

Vornik Vornik::LaunchReady() {
  Vornik vornik = Launch(NewCaseFolder());
  vornik.WaitReady();
  return vornik;
}

HWND Vornik::WaitMainWindow(DWORD ms) {
  WaitUntil(
      [&] {
        auto windows = WindowsOf(process_.Id(), vornik::ids::kMainWindowClass);
        mainWindow_ = windows.empty() ? nullptr : windows.front();
        return mainWindow_ != nullptr;
      },
      ms);
  return mainWindow_;
}

bool Vornik::WaitReady(DWORD ms) {
  return WaitMainWindow(ms) != nullptr && WaitUntil(SingleInstanceMarkerExists, ms);
}

void Vornik::PostHotkey(std::int32_t id) const {
  const UINT key = id == vornik::ids::kFirstHotkeyId ? vornik::ids::kForceStopKey
                                                     : vornik::ids::kExitKey;
  PostMessageA(mainWindow_, WM_HOTKEY, static_cast<WPARAM>(id),
               MAKELPARAM(vornik::ids::kHotkeyModifiers, key));
}

void Vornik::PostCommand(std::uint32_t command) const {
  PostMessageA(mainWindow_, WM_COMMAND, command, 0);
}

void Vornik::PostClose() const { PostMessageA(mainWindow_, WM_CLOSE, 0, 0); }

void Vornik::PostTrayCallback(UINT mouseMessage) const {
  PostMessageA(mainWindow_, vornik::ids::kTrayCallbackMessage, vornik::ids::kTrayIconId,
               mouseMessage);
}

// Tray icons and popup menus ---------------------------------------------------

std::vector<HWND> TrayIconWindows() {
  std::vector<HWND> icons;
  HWND tray = nullptr;
  while ((tray = FindWindowExA(nullptr, tray, "__winex11_standalone_tray", nullptr)) != nullptr) {
    HWND icon = nullptr;
    while ((icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr)) != nullptr) {
      icons.push_back(icon);
    }
  }
  return icons;
}

HWND NewTrayIcon(const std::vector<HWND>& before, const std::vector<HWND>& after) {
  HWND found = nullptr;
  for (HWND icon : after) {
    if (std::find(before.begin(), before.end(), icon) != before.end()) continue;
    if (found) return nullptr;
    found = icon;
  }
  return found;
}

HWND PopupMenuOf(DWORD pid) {
  for (HWND window : WindowsOf(pid, "#32768")) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND WaitPopupMenu(DWORD pid, DWORD ms) {
  HWND popup = nullptr;
  WaitUntil([&] { return (popup = PopupMenuOf(pid)) != nullptr; }, ms);
  return popup;
}

void ClickAt(POINT point, const std::string& clickArgs) {
  // No --sync: it waits for a motion event, and there is none when the pointer
  // already stands there.
  RunUnix("/usr/bin/xdotool mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) +
          " sleep 0.1 " + clickArgs);
}

void ClickWindow(HWND window, const std::string& clickArgs) {
  RECT rect;
  GetWindowRect(window, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, clickArgs);
}

bool SingleInstanceMarkerExists() {
  // Opened and closed at once: holding it would keep the marker alive.
  UniqueHandle marker(OpenEventA(SYNCHRONIZE, FALSE, vornik::ids::kSingleInstanceEventName));
  return static_cast<bool>(marker);
}

// Target ---------------------------------------------------------------------

std::string BuiltTargetPath() { return TestBinDir() + "\\fg_target.exe"; }

Target Target::Launch(const std::string& folder, const std::string& exeName,
                      const std::string& title) {
  Target target;
  target.process_ = Process::Start(CopyFileTo(BuiltTargetPath(), folder, exeName), title);
  return target;
}

HWND Target::WaitWindow(DWORD ms) {
  WaitUntil(
      [&] {
        auto windows = WindowsOf(process_.Id(), kTargetWindowClass);
        window_ = windows.empty() ? nullptr : windows.front();
        return window_ != nullptr;
      },
      ms);
  return window_;
}

bool Target::WaitForeground(DWORD ms) {
  return WaitWindow(ms) != nullptr &&
         WaitUntil([&] { return GetForegroundWindow() == window_; }, ms);
}

bool Target::BringToFront(DWORD settleMs, DWORD ms) {
  if (!WaitWindow(ms)) return false;
  // Asked again now and then: on a loaded machine Wine now and then drops a
  // foreground change that races with another window's.
  const DWORD start = GetTickCount();
  do {
    PostMessageA(window_, kTargetComeForward, 0, 0);
    // Still in front a moment later: a late focus change from the X server
    // can hand the foreground back to the window that had it.
    if (WaitForeground(1000)) {
      PumpFor(settleMs);
      if (GetForegroundWindow() == window_) return true;
    }
  } while (GetTickCount() - start < ms);
  return false;
}

// Linux programs and keystrokes ----------------------------------------------

void RunUnix(const std::string& commandLine) {
  // Wine starts Linux executables given by their Unix path, but the handle it
  // returns does not follow the Linux process; a marker file tells when the
  // command is done.
  static int counter = 0;
  const std::string marker = "/tmp/vornik-unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter);
  const std::string markerDosPath = "Z:" + [&] {
    std::string p = marker;
    for (char& c : p) c = c == '/' ? '\\' : c;
    return p;
  }();
  std::string line = "/bin/sh -c \"" + commandLine + "; touch " + marker + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return;
  }
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  // Keep pumping: our own windows must answer the X server meanwhile.
  WaitUntil([&] { return FileExists(markerDosPath); });
  DeleteFileA(markerDosPath.c_str());
}

FocusWindow::FocusWindow(const char* title) : title_(title) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "VornikTestFocusWindow";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            100, 100, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(window_);
  PumpFor(200);
}

FocusWindow::~FocusWindow() {
  if (window_) DestroyWindow(window_);
}

void TypeKeysTo(const std::string& windowTitle, const std::string& keys) {
  RunUnix("/usr/bin/xdotool search --sync --name " + windowTitle + " windowfocus --sync key " +
          keys);
  PumpFor(200);
}

void FocusWindow::TypeKeys(const std::string& keys) const { TypeKeysTo(title_, keys); }

}  // namespace test
