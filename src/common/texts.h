// Every text the user can see, in one place. The source is UTF-8; the compiler
// turns these literals into GBK bytes (-fexec-charset=GBK), which is what the
// ANSI entry points expect on a Chinese (code page 936) system.
#pragma once

namespace vornik::texts {

// Tray tip and the product's own name.
inline constexpr char kTrayTip[] = "Vornik";

// The hidden window's relay label and its menu.
inline constexpr char kRelayLabel[] = "标签1";
inline constexpr char kTrayMenu[] = "托盘菜单";
inline constexpr char kShowResultItem[] = "显示停止信息&S";
inline constexpr char kAutoStartItem[] = "自动启动&Z";
inline constexpr char kHelpItem[] = "帮助&H";
inline constexpr char kExitItem[] = "退出&X control+Windows+ESC";

// Refusal of a second copy.
inline constexpr char kAlreadyRunning[] = "程序已经运行，不能重复运行！";
inline constexpr char kAlreadyRunningTitle[] = "友情提醒:";

// Start-up could not create the hidden window.
inline constexpr char kNoWindowError[] = "无法创建主窗口，程序不能启动！";
inline constexpr char kNoWindowErrorTitle[] = "错误";

// Force-stop results.
inline constexpr char kSuccessTitle[] = "恭喜！";
inline constexpr char kSuccessPrefix[] = "成功终止";
inline constexpr char kFailureTitle[] = "错误!";
inline constexpr char kFailurePrefix[] = "终止";
inline constexpr char kFailureSuffix[] = "失败";

// Tray double-click hint.
inline constexpr char kNoWindowHint[] = "程序暂无窗口，请单击右键弹出菜单进行操作！";
inline constexpr char kNoWindowHintTitle[] = "抱歉";

// Help box.
inline constexpr char kHelpFormat[] =
    "Vornik当前窗口程序，执行热键 control windows+delete；退出程序热键 control windows+ESC。软件版本%s，BY %s。";
inline constexpr char kHelpTitle[] = "帮助";

// Settings file.
inline constexpr char kSettingsFileName[] = "config.ini";
inline constexpr char kSettingsSection[] = "enforce stop";
inline constexpr char kShowResultKey[] = "弹框";
inline constexpr char kAutoStartKey[] = "自启";

}  // namespace vornik::texts
