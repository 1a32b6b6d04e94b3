// The picture pixel word the blit reads: bits 29-31 the alpha code (0 transparent, 1-6
// translucent with opacity code/8 and a premultiplied colour, 7 opaque), bits 24-28 how many
// further pixels of the same run follow (at most 31), bits 0-23 the colour 0xRRGGBB.
#pragma once

#include <cstdint>

namespace vornel {

inline constexpr int kAlphaShift = 29;
inline constexpr int kRunShift = 24;
inline constexpr uint32_t kColourMask = 0xFFFFFF;
inline constexpr uint32_t kOpaqueAlpha = 0xE0000000;  // alpha code 7
inline constexpr int32_t kMaxRun = 31;

}  // namespace vornel
