// Drives the real Vornik.exe from outside, as a user or another program would:
// start copies in folders of their own, find their windows, post hotkeys and
// menu commands, find and close their message boxes, read their exit codes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/ids.h"
#include "common/owners.h"

namespace test {

using vornik::UniqueHandle;

// The hotkeys' ids as Vornik numbers them, in the order it registers them.
inline constexpr std::int32_t kForceStopId = vornik::ids::kFirstHotkeyId;
inline constexpr std::int32_t kExitId = vornik::ids::kFirstHotkeyId + 1;

// Generous: the shared machine can stall for a second or two.
inline constexpr DWORD kWait = 15000;

// Polls `condition` every few milliseconds until it holds or `ms` pass.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kWait);

std::string TestBinDir();
std::string BuiltVornikPath();
// A new empty folder for one case: C:\vornik-tests\<pid>-<n>.
std::string NewCaseFolder();
std::string CopyFileTo(const std::string& source, const std::string& folder,
                       const std::string& name);
bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A started process, terminated on destruction if it still runs.
class Process {
 public:
  static Process Start(const std::string& exePath, const std::string& commandLine = "");
  Process() = default;
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_.get(); }
  bool Running() const;
  // True when the process ended within `ms`.
  bool WaitExit(DWORD ms = kWait) const;
  DWORD ExitCode() const;
  void Kill();

 private:
  UniqueHandle handle_;
  DWORD id_ = 0;
};

// Top-level windows of a process with the given class (any class if null).
std::vector<HWND> WindowsOf(DWORD pid, const char* className = nullptr);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string title;
  std::string text;
};

std::vector<MessageBoxInfo> MessageBoxesOf(DWORD pid);
// Class, title and visibility of each top-level window, for a failure's report.
std::string DescribeWindowsOf(DWORD pid);
// Where each thread of the process is, from Wine's debugger: for a failure's report.
std::string BacktracesOf(DWORD pid);
std::optional<MessageBoxInfo> WaitMessageBox(DWORD pid, DWORD ms = kWait);
// A visible box of the process other than `except`.
std::optional<MessageBoxInfo> WaitOtherMessageBox(DWORD pid, HWND except, DWORD ms = kWait);
// Presses the box's first button, as a user clicking OK.
void CloseMessageBox(HWND box);
// Closes the box and waits until it is gone.
bool CloseMessageBoxAndWait(HWND box, DWORD ms = kWait);

// A running copy of Vornik.exe in a folder of its own.
class Vornik {
 public:
  // Copies the built exe into `folder` under `exeName` and starts it.
  static Vornik Launch(const std::string& folder, const std::string& exeName = "Vornik.exe");
  // Starts a copy already in place (for one prepared before it runs).
  static Vornik Start(const std::string& exePath);
  // A fresh case folder with a copy that has finished starting up.
  static Vornik LaunchReady();

  Process& process() { return process_; }
  const std::string& Folder() const { return folder_; }
  const std::string& ExePath() const { return exePath_; }

  // The hidden main window, once it exists; null after `ms`.
  HWND WaitMainWindow(DWORD ms = kWait);
  // Start-up has run to its end: the window exists and the single-instance
  // marker (the last step) is in place.
  bool WaitReady(DWORD ms = kWait);
  HWND MainWindow() const { return mainWindow_; }

  void PostHotkey(std::int32_t id) const;
  void PostCommand(std::uint32_t command) const;
  void PostClose() const;
  // What the shell posts on a click on the tray icon: the mouse message in lParam.
  void PostTrayCallback(UINT mouseMessage) const;

 private:
  Process process_;
  std::string folder_;
  std::string exePath_;
  HWND mainWindow_ = nullptr;
};

bool SingleInstanceMarkerExists();

std::string BuiltTargetPath();

// A running copy of the target program (fg_target.exe): one visible window
// that makes itself the foreground window when it starts.
class Target {
 public:
  // Copies the built target into `folder` under `exeName` and starts it, with
  // `title` as its window title (a default one when empty).
  static Target Launch(const std::string& folder, const std::string& exeName,
                       const std::string& title = "");

  Process& process() { return process_; }
  // Its window, once it exists; null after `ms`.
  HWND WaitWindow(DWORD ms = kWait);
  // Its window exists and is the foreground window.
  bool WaitForeground(DWORD ms = kWait);
  // Asks it to make itself the foreground window again and waits until it is
  // and has stayed so for `settleMs`.
  bool BringToFront(DWORD settleMs = 300, DWORD ms = kWait);

 private:
  Process process_;
  HWND window_ = nullptr;
};
// Tray icons as Wine shows them on an X server without a desktop: a child
// window of class "__winex11_tray_icon" per icon, inside explorer's top-level
// "__winex11_standalone_tray". They belong to explorer, not to the icon's
// owner, and carry no text: count them, or tell a new one by its handle.
std::vector<HWND> TrayIconWindows();
// The tray icon window that is in `after` and not in `before`, if exactly one.
HWND NewTrayIcon(const std::vector<HWND>& before, const std::vector<HWND>& after);

// A visible popup menu (class "#32768") of the process, or null.
HWND PopupMenuOf(DWORD pid);
HWND WaitPopupMenu(DWORD pid, DWORD ms = kWait);

// Real mouse input through the X server: moves the pointer to the point, or to
// the middle of the window, and runs xdotool's `clickArgs` there (e.g.
// "click 3", "click --repeat 2 --delay 80 1").
void ClickAt(POINT point, const std::string& clickArgs);
void ClickWindow(HWND window, const std::string& clickArgs);

// Runs a Linux program (xdotool) from this Wine process and waits for it.
void RunUnix(const std::string& commandLine);

// Focuses the X window with this title (no spaces) and types `keys` into it
// (xdotool key syntax).
void TypeKeysTo(const std::string& windowTitle, const std::string& keys);

// A visible top-level window of the test's own, so that X keystrokes have a
// Wine window to go to.
class FocusWindow {
 public:
  explicit FocusWindow(const char* title);
  ~FocusWindow();
  HWND Get() const { return window_; }
  // Focuses it through the X server and types `keys` (xdotool key syntax).
  void TypeKeys(const std::string& keys) const;

 private:
  std::string title_;
  HWND window_ = nullptr;
};

// Pumps this thread's messages for `ms`.
void PumpFor(DWORD ms);

}  // namespace test
