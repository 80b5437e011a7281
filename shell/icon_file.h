#pragma once

// Reading an icon out of the bytes of an icon file (.ico).

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct IconImage {
    size_t offset; // of the image in the file
    size_t size;
    int width;  // as the directory entry gives them; 0 stands for 256
    int height;
};

// The image to make an icon from: the first entry with at least 16 colours and the given width,
// else the last entry. Nothing when the header is not an icon's or the entry does not fit.
std::optional<IconImage> PickIconImage(std::span<const uint8_t> file, int width);

// Null when no icon can be made from the data.
HICON IconFromFileData(std::span<const uint8_t> file);
