#pragma once
// The system tells only top-level windows that its colours or settings changed (high contrast
// switched on or off, say). Each of ours passes the news on to its controls and paints itself
// and them afresh.

#include <windows.h>

namespace quillet::win32 {

inline void RepaintAfterSystemChange(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, msg, wParam, lParam);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace quillet::win32
