// Numbers that other programs, the shell and the tests see: command identifiers,
// private messages, hotkey numbering and the names of the program's objects.
#pragma once

#include <cstdint>

namespace vornik::ids {

// Menu commands: 20000 + the item's position in the hidden window's menu.
inline constexpr std::uint32_t kTrayMenuCommand = 20000;
inline constexpr std::uint32_t kShowResultCommand = 20001;
inline constexpr std::uint32_t kAutoStartCommand = 20002;
inline constexpr std::uint32_t kHelpCommand = 20003;
inline constexpr std::uint32_t kExitCommand = 20004;

// Hotkeys: registrations are numbered from 33001 in the order attempted.
inline constexpr std::int32_t kFirstHotkeyId = 33001;
inline constexpr std::uint32_t kHotkeyModifiers = 10;  // MOD_CONTROL | MOD_WIN
inline constexpr std::uint32_t kForceStopKey = 46;     // VK_DELETE
inline constexpr std::uint32_t kExitKey = 27;          // VK_ESCAPE
inline constexpr std::uint32_t kHotkeyRelayMessage = 0x8075;

// Tray icon.
inline constexpr std::uint32_t kTrayIconId = 100;
inline constexpr std::uint32_t kTrayCallbackMessage = 0x8064;  // WM_APP + 100
// Broadcast by the shell when it (re)starts: every tray icon must be added again.
inline constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// The executable's icon group: the file's icon and MainWindow's window icon.
inline constexpr char kDefaultIconGroup[] = "DEFAULT_ICON";

// Names of the program's objects.
inline constexpr char kMainWindowClass[] = "VornikMainWindow";
inline constexpr char kRelayLabelClass[] = "VornikRelayLabel";
inline constexpr char kSingleInstanceEventName[] = "2461511240";
inline constexpr char kStartupEntryName[] = "Vornik.exe";

// Hidden window geometry.
inline constexpr int kMainWindowWidth = 380;
inline constexpr int kMainWindowHeight = 250;
inline constexpr int kLabelX = 40, kLabelY = 24, kLabelWidth = 80, kLabelHeight = 24;

// Exit pause in milliseconds.
inline constexpr int kExitPauseMs = 300;

}  // namespace vornik::ids
