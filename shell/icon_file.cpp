#include "shell/icon_file.h"

#include <cstring>

namespace {
constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

uint16_t Read16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Read32(const uint8_t* at)
{
    return Read16(at) | static_cast<uint32_t>(Read16(at + 2)) << 16;
}

bool IsPng(const uint8_t* image, size_t size)
{
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof signature && std::memcmp(image, signature, sizeof signature) == 0;
}
} // namespace

std::optional<IconImage> PickIconImage(std::span<const uint8_t> file, int width)
{
    if (file.size() < kHeaderSize) return std::nullopt;
    uint16_t reserved = Read16(file.data());
    uint16_t type = Read16(file.data() + 2);
    size_t count = Read16(file.data() + 4);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    if (file.size() < kHeaderSize + count * kEntrySize) return std::nullopt;

    const uint8_t* chosen = file.data() + kHeaderSize + (count - 1) * kEntrySize;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = file.data() + kHeaderSize + i * kEntrySize;
        if (entry[2] >= 16 && entry[0] == width) {
            chosen = entry;
            break;
        }
    }
    size_t size = Read32(chosen + 8);
    size_t offset = Read32(chosen + 12);
    if (offset > file.size() || size > file.size() - offset || size == 0) return std::nullopt;
    IconImage image = {offset, size, chosen[0] == 0 ? 256 : chosen[0],
                       chosen[1] == 0 ? 256 : chosen[1], 0};
    const uint8_t* bits = file.data() + offset;
    constexpr size_t kBitmapHeaderSize = 40;
    if (!IsPng(bits, size) && size >= kBitmapHeaderSize) {
        image.width = static_cast<int32_t>(Read32(bits + 4));
        image.height = static_cast<int32_t>(Read32(bits + 8)) / 2; // colour and mask halves
        image.bitCount = Read16(bits + 14);
    }
    return image;
}
