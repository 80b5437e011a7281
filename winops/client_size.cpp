#include "winops/client_size.h"

namespace {
// No real window comes near the limits; impossible values wrap rather than overflow.
int32_t Wrap(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
} // namespace

Placement PlacementForClientSize(Placement current, ClientSize currentClient, ClientSize wanted)
{
    return {current.x, current.y, Wrap(int64_t{current.width} + wanted.width - currentClient.width),
            Wrap(int64_t{current.height} + wanted.height - currentClient.height)};
}
