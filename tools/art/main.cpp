// vornel-art: draws the game's pictures and writes them as the picture bank app0.bin, app1.bin,
// ... into a folder, and optionally every picture as a PNG for a look at it; or draws the
// application icon at one size as a PNG.
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "art/AppIcon.h"
#include "art/ArtBank.h"
#include "bank/PngFile.h"

namespace {

constexpr const char* kUsage =
    "usage: vornel-art OUTPUT_FOLDER [--png PREVIEW_FOLDER] | vornel-art --icon SIZE FILE.png | "
    "vornel-art --maskable-icon SIZE FILE.png";

int fail(const std::string& message) {
    std::fprintf(stderr, "vornel-art: %s\n", message.c_str());
    return 2;
}

// The whole text as a number of pixels within the icon's sizes, or 0.
int32_t iconSizeOf(const std::string& text) {
    int32_t size = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (failure != std::errc() || end != text.data() + text.size() || size < vornel::AppIcon::kSmallestSize ||
        size > vornel::AppIcon::kLargestSize) {
        return 0;
    }
    return size;
}

int writeIcon(const std::string& sizeText, const std::string& path, bool maskable) {
    using vornel::AppIcon;
    const int32_t size = iconSizeOf(sizeText);
    if (size == 0) {
        return fail("--icon: the size must be a number of pixels from " + std::to_string(AppIcon::kSmallestSize) +
                    " to " + std::to_string(AppIcon::kLargestSize) + ", not '" + sizeText + "'");
    }
    std::string error;
    if (!vornel::PngFile::write(path, maskable ? AppIcon::drawMaskable(size) : AppIcon::draw(size), error)) {
        return fail("cannot write " + path + ": " + error);
    }
    return 0;
}

int writeBank(const std::string& folder, const std::string& pngFolder) {
    using namespace vornel;
    const std::vector<ArtPicture> pictures = ArtBank::drawAll();
    std::string error;
    if (!ArtBank::writeBank(pictures, folder, error)) {
        return fail(error);
    }
    if (!pngFolder.empty() && !ArtBank::writePngs(pictures, pngFolder, error)) {
        return fail(error);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && (args[0] == "--icon" || args[0] == "--maskable-icon")) {
        return writeIcon(args[1], args[2], args[0] == "--maskable-icon");
    }
    if (args.size() == 3 && args[1] == "--png") {
        return writeBank(args[0], args[2]);
    }
    if (args.size() == 1 && args[0].rfind("--", 0) != 0) {
        return writeBank(args[0], "");
    }
    return fail(kUsage);
}
