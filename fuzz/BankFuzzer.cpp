// Fuzz target of the picture bank reader: the input is a whole bank stream, written into a
// program folder of its own as the 32768-byte files fuzz0.bin, fuzz1.bin, ..., then opened,
// and its first pictures fetched (decoding them) and drawn.
#include <cstddef>
#include <cstdint>

#include "FuzzFolder.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "media/PictureBank.h"

namespace {

using namespace vornel;

constexpr int32_t kPicturesTried = 32;  // a bank's later pictures go the same way
constexpr int32_t kSurfaceWidth = 64;
constexpr int32_t kSurfaceHeight = 48;

// The bank's owner receives no calls; it only has to exist.
class Owner : public Base {};

// Once at natural size and opaque, once at half size, shifted and half faded: the two blit paths.
void drawPicture(PictureBank& bank, int32_t index, const Array<uint32_t>& surface) {
    bank.draw(index, surface, kSurfaceWidth, kSurfaceHeight, 0, 0, kSurfaceWidth, kSurfaceHeight, 0, 0, kFixedOne,
              0, kFixedOne);
    bank.draw(index, surface, kSurfaceWidth, kSurfaceHeight, 0, 0, kSurfaceWidth, kSurfaceHeight, toFixed(-5),
              toFixed(-3), 2 * kFixedOne, 0, kFixedOne / 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static fuzz::FuzzFolder folder("bank");
    folder.writePieces("fuzz", data, size, PictureBank::kFileSize);
    const RunContext context(folder.path().string());

    Ref<PictureBank> bank = new PictureBank(new Owner(), *String::fromLiteral("fuzz"));
    const Array<uint32_t> surface = allocInt<uint32_t>(kSurfaceWidth * kSurfaceHeight);
    for (int32_t index = 0; index < bank->count() && index < kPicturesTried; ++index) {
        drawPicture(*bank, index, surface);
    }
    bank->close();
    return 0;
}
