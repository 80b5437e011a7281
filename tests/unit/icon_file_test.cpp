#include "shell/icon_file.h"
#include "shell/tray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Where the parts of an icon file's header and first directory entry lie.
constexpr size_t kCountAt = 4;
constexpr size_t kFirstEntryAt = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kImageSizeAt = kFirstEntryAt + 8;
constexpr size_t kImageOffsetAt = kFirstEntryAt + 12;

Bytes ProgramIconBytes()
{
    std::ifstream file(GLIMVANE_SOURCE_DIR "/res/glimvane.ico", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Put16(Bytes& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(Bytes& bytes, size_t at, uint32_t value)
{
    Put16(bytes, at, static_cast<uint16_t>(value));
    Put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

// A square 32-bit image with its mask, as icon files hold them.
Bytes BitmapImage(int size)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size;
    header.biHeight = 2 * size; // the colour and the mask halves
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    Bytes image(sizeof header);
    std::memcpy(image.data(), &header, sizeof header);
    size_t maskRow = (static_cast<size_t>(size) + 31) / 32 * 4;
    image.resize(image.size() + static_cast<size_t>(size) * size * 4, 0x80);
    image.resize(image.size() + maskRow * size, 0x00);
    return image;
}

const Bytes kNotAnImage(200, 0xFF);

struct Entry {
    uint8_t width;
    uint8_t colours;
    Bytes image;
};

struct IconFile {
    Bytes bytes;
    std::vector<size_t> offsets; // of each entry's image
};

IconFile MakeIconFile(const std::vector<Entry>& entries)
{
    IconFile file;
    file.bytes.resize(kFirstEntryAt + entries.size() * kEntrySize);
    Put16(file.bytes, 2, 1);
    Put16(file.bytes, kCountAt, static_cast<uint16_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t entry = kFirstEntryAt + i * kEntrySize;
        file.bytes[entry] = entries[i].width;
        file.bytes[entry + 1] = entries[i].width;
        file.bytes[entry + 2] = entries[i].colours;
        Put16(file.bytes, entry + 4, 1);
        Put16(file.bytes, entry + 6, 32);
        Put32(file.bytes, entry + 8, static_cast<uint32_t>(entries[i].image.size()));
        Put32(file.bytes, entry + 12, static_cast<uint32_t>(file.bytes.size()));
        file.offsets.push_back(file.bytes.size());
        file.bytes.insert(file.bytes.end(), entries[i].image.begin(), entries[i].image.end());
    }
    return file;
}

// The size of the icon's colour bitmap; 0 × 0 for no icon.
SIZE IconSize(HICON icon)
{
    SIZE size = {};
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return size;
    BITMAP bitmap = {};
    if (GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0)
        size = {bitmap.bmWidth, bitmap.bmHeight};
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return size;
}

// Makes the icon, reads its size and lets it go.
SIZE SizeOfIconFrom(const Bytes& bytes)
{
    HICON icon = IconFromFileData(bytes);
    SIZE size = IconSize(icon);
    if (icon != nullptr) DestroyIcon(icon);
    return size;
}

TEST(IconFileTest, TheProgramIconIsItsOne48By48Image)
{
    const Bytes bytes = ProgramIconBytes();
    ASSERT_FALSE(bytes.empty()) << "res/glimvane.ico could not be read";
    for (int width : {16, 32}) {
        std::optional<IconImage> image = PickIconImage(bytes, width);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->offset, kFirstEntryAt + kEntrySize);
        EXPECT_EQ(image->size, bytes.size() - image->offset);
        EXPECT_EQ(image->width, 48);
        EXPECT_EQ(image->height, 48);
    }

    HICON icon = IconFromFileData(bytes);
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    SIZE size = IconSize(icon);
    EXPECT_EQ(size.cx, 48);
    EXPECT_EQ(size.cy, 48);
    DestroyIcon(icon);
}

TEST(IconFileTest, NoIconFromABadHeaderOrAnEntryThatDoesNotFit)
{
    const Bytes program = ProgramIconBytes();
    ASSERT_FALSE(program.empty()) << "res/glimvane.ico could not be read";
    const auto size = static_cast<uint32_t>(program.size());
    const auto imageAt = static_cast<uint32_t>(kFirstEntryAt + kEntrySize);
    struct Case {
        const char* name;
        std::function<void(Bytes&)> spoil;
    };
    const Case cases[] = {
        {"reserved not 0", [](Bytes& b) { Put16(b, 0, 1); }},
        {"type 0", [](Bytes& b) { Put16(b, 2, 0); }},
        {"type 3", [](Bytes& b) { Put16(b, 2, 3); }},
        {"no entries", [](Bytes& b) { Put16(b, kCountAt, 0); }},
        {"no bytes", [](Bytes& b) { b.clear(); }},
        {"header cut short", [](Bytes& b) { b.resize(kFirstEntryAt - 1); }},
        {"entry cut short", [](Bytes& b) { b.resize(kFirstEntryAt + kEntrySize - 1); }},
        {"directory past the end", [](Bytes& b) { Put16(b, kCountAt, 0xFFFF); }},
        {"image starts past the end", [&](Bytes& b) { Put32(b, kImageOffsetAt, size + 1); }},
        {"image runs past the end", [&](Bytes& b) { Put32(b, kImageSizeAt, size - imageAt + 1); }},
        {"empty image", [](Bytes& b) { Put32(b, kImageSizeAt, 0); }},
        {"offset wraps round",
         [](Bytes& b) {
             Put32(b, kImageOffsetAt, 0xFFFFFFF0);
             Put32(b, kImageSizeAt, 0x20);
         }},
        {"size wraps round", [](Bytes& b) { Put32(b, kImageSizeAt, 0xFFFFFFFF); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = program;
        c.spoil(bytes);
        EXPECT_FALSE(PickIconImage(bytes, 16).has_value());
        EXPECT_FALSE(PickIconImage(bytes, 32).has_value());
        EXPECT_EQ(IconFromFileData(bytes), nullptr);
    }
}

TEST(IconFileTest, NoIconFromAnEntryThatFitsButHoldsNoImage)
{
    Bytes bitmapCutShort = BitmapImage(16);
    bitmapCutShort.resize(sizeof(BITMAPINFOHEADER) + 100);
    const Bytes images[] = {kNotAnImage, Bytes(8, 0), bitmapCutShort};
    for (const Bytes& image : images) {
        SCOPED_TRACE(testing::Message() << "image of " << image.size() << " bytes");
        IconFile file = MakeIconFile({{16, 16, image}});
        ASSERT_TRUE(PickIconImage(file.bytes, 16).has_value());
        EXPECT_EQ(IconFromFileData(file.bytes), nullptr);
    }
}

TEST(IconFileTest, PicksTheFirstEntryOfTheWidthWithSixteenColoursElseTheLast)
{
    struct Case {
        std::vector<Entry> entries; // as (width, colour count)
        int width;
        size_t expected;
    };
    const Case cases[] = {
        {{{16, 16, {}}, {32, 16, {}}}, 16, 0},
        {{{32, 16, {}}, {16, 16, {}}}, 16, 1},
        {{{16, 255, {}}, {16, 16, {}}}, 16, 0},
        {{{16, 8, {}}, {16, 16, {}}}, 16, 1},
        {{{16, 15, {}}, {32, 16, {}}}, 16, 1},
        {{{16, 16, {}}, {32, 16, {}}}, 32, 1},
        {{{32, 16, {}}, {16, 16, {}}}, 32, 0},
        // Without a match the last entry is taken, whatever its size.
        {{{16, 0, {}}, {32, 0, {}}}, 16, 1},
        {{{32, 0, {}}, {16, 0, {}}}, 16, 1},
        {{{48, 16, {}}, {32, 16, {}}}, 16, 1},
    };
    for (const Case& c : cases) {
        std::vector<Entry> entries = c.entries;
        for (Entry& entry : entries)
            entry.image = BitmapImage(entry.width);
        IconFile file = MakeIconFile(entries);
        SCOPED_TRACE(testing::Message()
                     << "widths " << int{entries[0].width} << ", " << int{entries[1].width}
                     << ", colours " << int{entries[0].colours} << ", " << int{entries[1].colours}
                     << ", wanted " << c.width);
        std::optional<IconImage> image = PickIconImage(file.bytes, c.width);
        ASSERT_TRUE(image.has_value());
        const Entry& chosen = entries[c.expected];
        EXPECT_EQ(image->offset, file.offsets[c.expected]);
        EXPECT_EQ(image->size, chosen.image.size());
        EXPECT_EQ(image->width, chosen.width);
        EXPECT_EQ(image->height, chosen.width);
        if (c.width == 16) {
            SIZE size = SizeOfIconFrom(file.bytes);
            EXPECT_EQ(size.cx, chosen.width);
            EXPECT_EQ(size.cy, chosen.width);
        }
    }
}

TEST(IconFileTest, AnUnusableSmallImageFallsBackToTheChoiceForThirtyTwo)
{
    struct Case {
        std::vector<Entry> entries;
        int expectedSize; // 0: no icon
    };
    const Case cases[] = {
        {{{16, 16, kNotAnImage}, {32, 16, BitmapImage(32)}}, 32},
        {{{16, 16, kNotAnImage}, {32, 0, BitmapImage(32)}}, 32},
        {{{16, 16, kNotAnImage}, {32, 16, kNotAnImage}}, 0},
        {{{16, 16, kNotAnImage}, {48, 16, kNotAnImage}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "expected size " << c.expectedSize);
        SIZE size = SizeOfIconFrom(MakeIconFile(c.entries).bytes);
        EXPECT_EQ(size.cx, c.expectedSize);
        EXPECT_EQ(size.cy, c.expectedSize);
    }
}

} // namespace
