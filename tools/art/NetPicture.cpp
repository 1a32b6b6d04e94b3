// The net: tape, mesh, foot cord and posts.
#include "art/NetPicture.h"

#include "art/Canvas.h"

namespace vornel {

namespace {

constexpr Colour kTape = Colour::rgb(0xF6F6F2);
constexpr Colour kTapeShade = Colour::rgb(0xC8CCD4);
constexpr Colour kStrand = Colour::rgb(0x0E1218, 0.56f);
constexpr Colour kCell = Colour::rgb(0x000000, 0.16f);
constexpr Colour kCord = Colour::rgb(0x0A0C10, 0.8f);
constexpr Colour kPost = Colour::rgb(0x22252B);
constexpr Colour kPostLight = Colour::rgb(0x6A707C);

bool isStrand(int32_t i) {
    return i % NetPicture::kMeshPeriod == NetPicture::kStrandPhase;
}

Colour meshColour(int32_t column, int32_t row) {
    if (row < NetPicture::kTapeRows) {
        return row == NetPicture::kTapeRows - 1 ? kTapeShade : kTape;
    }
    if (row == NetPicture::kNetRows - 1) {
        return kCord;
    }
    return isStrand(column) || isStrand(row) ? kStrand : kCell;
}

// A post: a round rod lit from the left, with a clamp block that grips the table's edge
// below the playing surface.
Colour postColour(int32_t offset, int32_t row) {
    const bool clamp = row >= NetPicture::kNetRows - 2;
    const bool rod = offset >= 1 && offset <= 3;
    if (!clamp && !rod) {
        return {};
    }
    if (row == NetPicture::kHeight - 1 && (offset == 0 || offset == NetPicture::kPostWidth - 1)) {
        return {};  // rounded corners of the clamp
    }
    const bool lit = clamp ? offset == 0 || row == NetPicture::kNetRows - 2 : offset == 1;
    return lit ? kPostLight : kPost;
}

}  // namespace

ArtPicture NetPicture::make() {
    Canvas canvas(kWidth, kHeight);
    for (int32_t row = 0; row < kHeight; ++row) {
        for (int32_t column = 0; column < kWidth; ++column) {
            const bool leftPost = column < kPostWidth;
            const bool rightPost = column >= kWidth - kPostWidth;
            if (leftPost || rightPost) {
                canvas.setPixel(column, row, postColour(leftPost ? column : column - (kWidth - kPostWidth), row));
            } else if (row < kNetRows) {
                canvas.setPixel(column, row, meshColour(column, row));
            }
        }
    }
    return {'r', canvas.toImage(), kAnchorX, kAnchorY};
}

}  // namespace vornel
