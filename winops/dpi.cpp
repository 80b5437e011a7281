#include "winops/dpi.h"

namespace {
using SetThreadDpiAwarenessContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// Looked up at run time: the function exists from Windows 10 version 1607 on.
const auto setThreadAwareness =
    reinterpret_cast<SetThreadDpiAwarenessContextFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
} // namespace

PhysicalPixelsScope::PhysicalPixelsScope()
{
    if (setThreadAwareness == nullptr) return;
    previous_ = setThreadAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // Before Windows 10 version 1703 there is no second version of per-monitor awareness.
    if (previous_ == nullptr)
        previous_ = setThreadAwareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}

PhysicalPixelsScope::~PhysicalPixelsScope()
{
    if (previous_ != nullptr) setThreadAwareness(previous_);
}
