#include "shell/icon_file.h"

#include <cstring>

namespace {
constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr DWORD kIconFormatVersion = 0x00030000;

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

uint32_t Read32(const uint8_t* at) { return Read16(at) | static_cast<uint32_t>(Read16(at + 2)) << 16; }

bool IsPng(std::span<const uint8_t> image)
{
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return image.size() >= sizeof signature && std::memcmp(image.data(), signature, sizeof signature) == 0;
}

HICON IconFromImage(std::span<const uint8_t> image, int entryWidth, int entryHeight)
{
    // A PNG image carries no bitmap header; the directory entry has its size (0 meaning 256).
    int width = entryWidth == 0 ? 256 : entryWidth;
    int height = entryHeight == 0 ? 256 : entryHeight;
    int bitCount = 0;
    if (!IsPng(image)) {
        if (image.size() < sizeof(BITMAPINFOHEADER)) return nullptr;
        width = static_cast<int32_t>(Read32(image.data() + 4));
        height = static_cast<int32_t>(Read32(image.data() + 8)) / 2; // colour and mask halves
        bitCount = Read16(image.data() + 14);
    }
    // The calls take a non-const pointer but only read the image.
    PBYTE bits = const_cast<PBYTE>(image.data());
    DWORD size = static_cast<DWORD>(image.size());
    HICON icon = CreateIconFromResourceEx(bits, size, TRUE, kIconFormatVersion, width, height,
                                          LR_DEFAULTCOLOR);
    if (icon == nullptr && bitCount != 16)
        icon = CreateIconFromResource(bits, size, TRUE, kIconFormatVersion);
    return icon;
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
    return IconImage{offset, size, chosen[0], chosen[1]};
}

HICON IconFromFileData(std::span<const uint8_t> file)
{
    for (int width : {16, 32}) {
        std::optional<IconImage> image = PickIconImage(file, width);
        if (!image) return nullptr;
        std::span<const uint8_t> bits = file.subspan(image->offset, image->size);
        if (HICON icon = IconFromImage(bits, image->width, image->height)) return icon;
    }
    return nullptr;
}
