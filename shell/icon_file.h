#pragma once

// Reading an icon out of the bytes of an icon file (.ico).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct IconImage {
    size_t offset; // of the image in the file
    size_t size;
    // The size to make the icon at: a bitmap's own, or for a PNG image the directory entry's.
    int width;
    int height;
    int bitCount; // a bitmap's bits per pixel; 0 for a PNG image
};

// The image to make an icon from: the first entry with at least 16 colours and the given width,
// else the last entry. Nothing when the header is not an icon's or the entry does not fit.
std::optional<IconImage> PickIconImage(std::span<const uint8_t> file, int width);
