// The choice of the table of pixel kernels: the widest one the machine runs is in use from the
// start, and a scoped table gives way to the one before it when it ends.
#include <gtest/gtest.h>

#include <string>

#include "kernels/ScopedPixelKernels.h"

namespace vornel {
namespace {

TEST(PixelKernels, ThePlainTableComesFirstAndTheWidestIsActive) {
    const auto& tables = PixelKernels::supported();
    ASSERT_FALSE(tables.empty());
    EXPECT_EQ(std::string(tables.front()->name), "plain");
    EXPECT_EQ(&PixelKernels::active(), tables.back());
}

TEST(PixelKernels, AScopedTableIsActiveUntilItEnds) {
    const PixelKernels& widest = PixelKernels::active();
    const PixelKernels& plain = *PixelKernels::supported().front();
    {
        const ScopedPixelKernels outer(plain);
        EXPECT_EQ(&PixelKernels::active(), &plain);
        {
            const ScopedPixelKernels inner(widest);
            EXPECT_EQ(&PixelKernels::active(), &widest);
        }
        EXPECT_EQ(&PixelKernels::active(), &plain);
    }
    EXPECT_EQ(&PixelKernels::active(), &widest);
}

}  // namespace
}  // namespace vornel
