#pragma once

// Small move-only holders for what Glimvane creates itself. Other programs' windows are
// plain HWNDs and never go through these.

#include <windows.h>

#include <utility>

template <typename Handle, typename Deleter> class Scoped {
  public:
    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Scoped& operator=(Scoped&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;
    ~Scoped() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{})
    {
        Handle old = std::exchange(handle_, handle);
        if (old != Handle{}) Deleter{}(old);
    }

  private:
    Handle handle_{};
};

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using ScopedWindow = Scoped<HWND, WindowDeleter>;
using ScopedIcon = Scoped<HICON, IconDeleter>;
using ScopedMenu = Scoped<HMENU, MenuDeleter>;
using ScopedHandle = Scoped<HANDLE, KernelHandleDeleter>;
