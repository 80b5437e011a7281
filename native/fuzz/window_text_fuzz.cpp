#include "shell/fatal_error.h"
#include "winops/client_size.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

std::int32_t Take32(const std::uint8_t*& data, std::size_t& size)
{
    std::uint8_t bytes[4] = {};
    const std::size_t n = size < 4 ? size : 4;
    std::memcpy(bytes, data, n);
    data += n;
    size -= n;
    std::int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Unsigned 32-bit arithmetic wraps by definition, which is the wrap the program promises.
std::int32_t WrappedSum(std::int32_t frame, std::int32_t wanted, std::int32_t client)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(frame) +
                                     static_cast<std::uint32_t>(wanted) -
                                     static_cast<std::uint32_t>(client));
}

void CheckPlacement(const std::uint8_t*& data, std::size_t& size)
{
    const Placement current{Take32(data, size), Take32(data, size), Take32(data, size),
                            Take32(data, size)};
    const ClientSize client{Take32(data, size), Take32(data, size)};
    const ClientSize wanted{Take32(data, size), Take32(data, size)};
    const Placement got = PlacementForClientSize(current, client, wanted);
    const Placement want{current.x, current.y,
                         WrappedSum(current.width, wanted.width, client.width),
                         WrappedSum(current.height, wanted.height, client.height)};
    if (std::memcmp(&got, &want, sizeof got) != 0) {
        std::fprintf(
            stderr,
            "PlacementForClientSize({%d, %d, %d, %d}, {%d, %d}, {%d, %d}) gave {%d, %d, %d, %d}, "
            "expected {%d, %d, %d, %d}\n",
            current.x, current.y, current.width, current.height, client.width, client.height,
            wanted.width, wanted.height, got.x, got.y, got.width, got.height, want.x, want.y,
            want.width, want.height);
        std::abort();
    }
}

void CheckErrorText(const std::uint8_t*& data, std::size_t& size)
{
    const int code = Take32(data, size);
    std::wstring message;
    for (; size >= 2; data += 2, size -= 2)
        message.push_back(static_cast<wchar_t>(data[0] | data[1] << 8));

    std::wstring want = L"运行时出错!\r\n\r\n";
    if (code != 0) {
        wchar_t digits[16];
        std::swprintf(digits, 16, L"%d", code);
        want += std::wstring(L"错误代码：") + digits + L"\r\n\r\n";
    }
    if (!message.empty()) want += L"错误信息：" + message + L"\r\n";
    if (RuntimeErrorText(code, message) != want) {
        std::fprintf(stderr, "RuntimeErrorText(%d, %zu units) differs from the expected box text\n",
                     code, message.size());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckPlacement(data, size);
    CheckErrorText(data, size);
    return 0;
}
