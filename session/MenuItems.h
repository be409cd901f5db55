#pragma once
// The main menu's items that open a window, by position, with the label and command they have
// while they can be used. While their window is open they carry the inert command instead.
#include <windows.h>

#include <span>

#include "resources/ResourceIds.h"

struct MenuItemSpec {
  int popup;
  int position;
  const char* label;
  UINT id;
};

inline constexpr MenuItemSpec kCtNumberItems[] = {{0, 0, "CT &Number", ID_CT_NUMBER}};
inline constexpr MenuItemSpec kPortNumberItems[] = {{0, 1, "&Port Number", ID_PORT_NUMBER}};
// Either panel takes both, so only one panel is open at a time.
inline constexpr MenuItemSpec kPanelItems[] = {{1, 0, "CT - &BCS", ID_CT_BCS},
                                               {1, 1, "Te&st CT", ID_TEST_CT}};
inline constexpr MenuItemSpec kAnswerDetailsItems[] = {{1, 3, "&Answer Details", ID_ANSWER_DETAILS}};

using MenuItems = std::span<const MenuItemSpec>;

void TakeMenuItems(HWND mainWindow, MenuItems items);
void GiveMenuItemsBack(HWND mainWindow, MenuItems items);
