// The flat look of the dialog host: push buttons and menus drawn by the
// program in one plain style (flat faces, thin borders, one accent colour
// for the default, focused, pressed and highlighted states), sized from the
// controls' and the menu's own fonts and from the display's DPI, so they read
// the same at 96 and at 144 DPI. Generic: any dialog's push buttons and any
// menu shown over a flat dialog; nothing here knows a particular window.
//
// Keyboard use is kept: buttons stay tab stops and show the focus rectangle,
// menu items keep their text, so mnemonics and the menu's own keys still
// work. An owner-drawn button is no longer a push button to the dialog
// manager, so Enter on a focused one would go to the default button: the
// dialog host clicks the focused flat button itself.
#pragma once

#include <windows.h>

#include <vector>

namespace orlo::flat {

// Makes the push buttons among dialog's children owner-drawn (BS_OWNERDRAW)
// and returns their ids; the dialog's default button stays its default
// (DM_SETDEFID). Check boxes, radio buttons and group boxes keep the
// system's look. Buttons already owner-drawn are left as they are.
std::vector<int> ownerDrawPushButtons(HWND dialog);

// Paints an owner-drawn button: face (face when hasFace, else the flat face
// colour), border (accent when it is the dialog's default or focused),
// centred text, pressed and disabled states, the focus rectangle.
void drawButton(const DRAWITEMSTRUCT& item, bool hasFace, COLORREF face);

// Makes every item of menu owner-drawn, keeping its text, id, state and
// submenu; bar: menu is a window's menu bar. Items already owner-drawn (by
// an earlier call) are left alone, so calling it again is cheap. Returns
// true when an item changed.
bool ownerDrawMenu(HMENU menu, bool bar);
// WM_MEASUREITEM and WM_DRAWITEM of an item made owner-drawn by
// ownerDrawMenu. False when the item is not one of those.
bool measureMenuItem(HWND owner, MEASUREITEMSTRUCT& item);
bool drawMenuItem(const DRAWITEMSTRUCT& item);
// WM_MENUCHAR: the item of menu whose mnemonic ("&X" in its text) is key,
// as the WM_MENUCHAR result (MNC_EXECUTE), or 0 when none has it.
LRESULT menuChar(HMENU menu, wchar_t key);

}  // namespace orlo::flat
