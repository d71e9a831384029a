// The hidden window's menu: one drop-down whose four items are what the tray
// popup shows. The check marks of the two switches are the live settings.
#pragma once

#include <array>
#include <cstdint>

#include "common/ids.h"
#include "common/texts.h"

namespace vornik {

enum class MenuItem { TrayMenu = 0, ShowResultSwitch, AutoStartSwitch, HelpItem, ExitItem };

// MenuItemFlags bits.
inline constexpr std::uint32_t kItemHidden = 1;
inline constexpr std::uint32_t kItemDisabled = 2;
inline constexpr std::uint32_t kItemChecked = 4;

struct MenuItemSpec {
  MenuItem item;
  const char* text;
  int level;                  // 1 = sub-item of the level-0 item before it
  std::uint32_t initialFlags;
  std::uint32_t command;      // 20000 + position
};

inline constexpr std::array<MenuItemSpec, 5> kMenuItems{{
    {MenuItem::TrayMenu, texts::kTrayMenu, 0, 0, ids::kTrayMenuCommand},
    {MenuItem::ShowResultSwitch, texts::kShowResultItem, 1, kItemChecked, ids::kShowResultCommand},
    {MenuItem::AutoStartSwitch, texts::kAutoStartItem, 1, 0, ids::kAutoStartCommand},
    {MenuItem::HelpItem, texts::kHelpItem, 1, 0, ids::kHelpCommand},
    {MenuItem::ExitItem, texts::kExitItem, 1, 0, ids::kExitCommand},
}};

constexpr const MenuItemSpec& SpecOf(MenuItem item) { return kMenuItems[static_cast<int>(item)]; }

}  // namespace vornik
