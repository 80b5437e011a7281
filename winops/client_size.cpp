#include "winops/client_size.h"

#include <cstdint>

namespace {
// No real window comes near the limits; impossible values wrap rather than overflow.
int Wrap(int64_t value) { return static_cast<int>(static_cast<uint32_t>(value)); }
} // namespace

Placement PlacementForClientSize(POINT position, RECT window, RECT client, int clientWidth,
                                 int clientHeight)
{
    int64_t width = int64_t{window.right} - window.left + clientWidth - client.right;
    int64_t height = int64_t{window.bottom} - window.top + clientHeight - client.bottom;
    return {position.x, position.y, Wrap(width), Wrap(height)};
}
