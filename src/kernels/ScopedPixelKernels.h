// Makes one table of pixel kernels active for as long as it lives (a test's, typically) and
// the one before it active again afterwards.
#pragma once

#include "kernels/PixelKernels.h"

namespace vornel {

class ScopedPixelKernels final {
public:
    explicit ScopedPixelKernels(const PixelKernels& table) : m_previous(PixelKernels::activate(table)) {}
    ~ScopedPixelKernels() { PixelKernels::activate(m_previous); }

    ScopedPixelKernels(const ScopedPixelKernels&) = delete;
    ScopedPixelKernels& operator=(const ScopedPixelKernels&) = delete;

private:
    const PixelKernels& m_previous;
};

}  // namespace vornel
