// Helpers that drive any window's controls as the user does and read them back, and the rules every
// window's layout keeps.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vorelix::test {

// Where a control lies in the client area of `window`, and its font as "face/weight/height".
RECT PlaceIn(HWND window, HWND control);
std::wstring FontOf(HWND control);
// Whether a control is of that window class and, within `typeMask` of its style, of that type.
bool IsKind(HWND control, const wchar_t* className, LONG typeMask = 0, LONG type = 0);
// What a control shows: its text, the entries of a list or combo box, the selected entry (-1: none).
std::wstring Text(HWND control);
std::vector<std::wstring> Items(HWND list);
int Selection(HWND list);
// A window of that class that this thread made, or none. Other test programs running beside this one
// have windows of the same classes, which FindWindowW would find.
HWND ThreadWindowOfClass(const wchar_t* className);
// Sends the control's window the WM_COMMAND that the control itself sends.
void Notify(HWND control, int code);
// Selects entry `index` of a list or combo box and notifies its window as a click does.
void Pick(HWND list, int index);
// Moves the window to each DPI in turn, as a move to another monitor does, and checks there the rules every
// window's layout keeps: each control inside the client area and inside any frame it overlaps, no two other
// controls overlapping (but the pairs of ids given), each label's caption drawn whole, and push buttons and
// frames in the bold caption face at 8.25 pt.
void ExpectLaidOut(HWND window, std::initializer_list<UINT> dpis,
                   const std::set<std::pair<int, int>>& designedOverlaps = {});

}  // namespace vorelix::test
