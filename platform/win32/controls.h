// The standard control classes the dialog host knows, told apart by window
// class name: notification codes and messages differ per class.
#pragma once

#include <windows.h>

namespace orlo {

enum class ControlKind { Other, Button, Edit, ListBox, ComboBox, Static, Progress };

ControlKind controlKind(HWND control);

// A list box that allows more than one selected row (LBS_EXTENDEDSEL or
// LBS_MULTIPLESEL).
bool isMultiSelectList(HWND control);

}  // namespace orlo
