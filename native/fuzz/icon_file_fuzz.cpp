#include "shell/icon_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <span>

namespace {

std::uint32_t Little(const std::uint8_t* at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

// The rule as the header states it, read straight off the .ico layout: a 6-byte header
// (reserved, type, count), 16-byte entries (width, height, colours, ..., size at 8, offset at 12),
// and for a bitmap image its BITMAPINFOHEADER (width at 4, height of both halves at 8, bits at 14).
std::optional<IconImage> Expected(std::span<const std::uint8_t> file, int width)
{
    if (file.size() < 6) return std::nullopt;
    const std::uint32_t type = Little(&file[2], 2);
    const std::uint32_t count = Little(&file[4], 2);
    if (Little(&file[0], 2) != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    if (file.size() < 6 + 16 * std::uint64_t{count}) return std::nullopt;
    const std::uint8_t* chosen = &file[6 + 16 * (count - 1)];
    for (std::uint32_t i = count; i-- > 0;) {
        const std::uint8_t* entry = &file[6 + 16 * i];
        if (entry[2] >= 16 && entry[0] == width) chosen = entry;
    }
    const std::uint64_t size = Little(chosen + 8, 4);
    const std::uint64_t offset = Little(chosen + 12, 4);
    if (size == 0 || offset + size > file.size()) return std::nullopt;

    IconImage image{offset, size, chosen[0] == 0 ? 256 : chosen[0],
                    chosen[1] == 0 ? 256 : chosen[1], 0};
    const std::span<const std::uint8_t> bits = file.subspan(offset, size);
    static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png =
        size >= sizeof kPng && std::equal(std::begin(kPng), std::end(kPng), bits.begin());
    if (!png && size >= 40) {
        image.width = static_cast<std::int32_t>(Little(&bits[4], 4));
        image.height = static_cast<std::int32_t>(Little(&bits[8], 4)) / 2;
        image.bitCount = static_cast<int>(Little(&bits[14], 2));
    }
    return image;
}

void Print(const std::optional<IconImage>& image)
{
    if (image) {
        std::fprintf(stderr, "{offset %zu, size %zu, %d x %d, %d bits}", image->offset, image->size,
                     image->width, image->height, image->bitCount);
    } else {
        std::fputs("nothing", stderr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    for (int width : {16, 32, 0, 255, 256, -1}) {
        const std::optional<IconImage> got = PickIconImage(file, width);
        const std::optional<IconImage> want = Expected(file, width);
        if (got.has_value() != want.has_value() ||
            (got &&
             (got->offset != want->offset || got->size != want->size || got->width != want->width ||
              got->height != want->height || got->bitCount != want->bitCount))) {
            std::fprintf(stderr, "PickIconImage(%zu bytes, width %d): got ", size, width);
            Print(got);
            std::fputs(", expected ", stderr);
            Print(want);
            std::fputs("\n", stderr);
            std::abort();
        }
        if (got) {
            // Touching every byte lets AddressSanitizer object if the image runs past the data.
            volatile std::uint8_t sum = 0;
            for (std::uint8_t byte : file.subspan(got->offset, got->size))
                sum = sum + byte;
        }
    }
    return 0;
}
