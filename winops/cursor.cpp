#include "winops/cursor.h"

#include <cstdint>

namespace {
int64_t Area(const RECT& rect)
{
    return int64_t{rect.right - rect.left} * (rect.bottom - rect.top);
}
} // namespace

HWND WindowUnderCursor()
{
    POINT point = {};
    // Without the cursor (another desktop has the input) the point stays at the origin.
    GetCursorPos(&point);
    HWND found = WindowFromPoint(point);
    if (found == nullptr) return nullptr;
    HWND best = found;
    RECT bestRect = {};
    GetWindowRect(found, &bestRect);
    HWND parent = GetParent(found);
    if (parent == nullptr) return found;
    for (HWND sibling = GetWindow(found, GW_HWNDNEXT); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        RECT rect;
        if (!GetWindowRect(sibling, &rect) || !PtInRect(&rect, point)) continue;
        if (GetParent(sibling) != parent || !IsWindowVisible(sibling)) continue;
        if (Area(rect) < Area(bestRect)) {
            best = sibling;
            bestRect = rect;
        }
    }
    return best;
}
