#pragma once

#include <windows.h>

// For as long as it lives, the calling thread sees every window in physical pixels, so that
// sizes typed by the user are the sizes a window gets whatever its monitor's scaling. Where the
// system has no per-thread DPI awareness (before Windows 10), nothing changes.
class PhysicalPixelsScope {
  public:
    PhysicalPixelsScope();
    ~PhysicalPixelsScope();
    PhysicalPixelsScope(const PhysicalPixelsScope&) = delete;
    PhysicalPixelsScope& operator=(const PhysicalPixelsScope&) = delete;

  private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};
