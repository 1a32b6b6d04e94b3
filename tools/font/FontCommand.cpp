// vornel-font: argument parsing and the summary of a built font.
#include "font/FontCommand.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

#include "font/FontBuilder.h"
#include "font/GlyphRasteriser.h"

namespace vornel {

namespace {

constexpr const char* kProgram = "vornel-font";
constexpr const char* kUsage =
    "FONT.ttf OUT.bin [--size PIXELS] [--hinting none|light|native|full|auto] [--last-char CODE] "
    "[--baseline ROW] [--gamma G] [--overhang clip|widen]";

// Chosen by eye on the 240 x 320 screen, white on the dark menu panels with the game's shadow:
// 12 pixels fill a 15-row line with capitals of 9 rows and descenders of 3, and the font's own
// instructions in both directions give one-pixel stems of full white rather than grey pairs.
constexpr int32_t kDefaultPixelSize = 12;
constexpr GlyphRasteriser::Hinting kDefaultHinting = GlyphRasteriser::Hinting::Full;
constexpr int32_t kDefaultLastChar = 255;

struct Options {
    std::string fontPath;
    std::string outPath;
    int32_t pixelSize = kDefaultPixelSize;
    GlyphRasteriser::Hinting hinting = kDefaultHinting;
    FontBuilder::Settings settings{.lastChar = kDefaultLastChar};
};

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return FontCommand::kFailure;
}

bool parseNumber(const std::string& text, int32_t& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool parseFraction(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool parseOption(const std::string& name, const std::string& value, Options& options, std::string& error) {
    bool parsed = false;
    if (name == "--size") {
        parsed = parseNumber(value, options.pixelSize) && options.pixelSize >= 4 && options.pixelSize <= 64;
    } else if (name == "--hinting") {
        parsed = GlyphRasteriser::parseHinting(value, options.hinting);
    } else if (name == "--last-char") {
        parsed = parseNumber(value, options.settings.lastChar);
    } else if (name == "--baseline") {
        parsed = parseNumber(value, options.settings.baseline);
    } else if (name == "--gamma") {
        parsed = parseFraction(value, options.settings.gamma);
    } else if (name == "--overhang") {
        parsed = value == "clip" || value == "widen";
        options.settings.overhang = value == "widen" ? FontBuilder::Overhang::Widen : FontBuilder::Overhang::Clip;
    } else {
        error = "unknown option " + name + " (usage: " + kProgram + " " + kUsage + ")";
        return false;
    }
    if (!parsed) {
        error = "bad value \"" + value + "\" for " + name;
    }
    return parsed;
}

bool parseArguments(const std::vector<std::string>& args, Options& options, std::string& error) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            files.push_back(args[i]);
        } else if (i + 1 == args.size()) {
            error = "option " + args[i] + " needs a value";
            return false;
        } else if (!parseOption(args[i], args[i + 1], options, error)) {
            return false;
        } else {
            ++i;
        }
    }
    if (files.size() != 2) {
        error = std::string("usage: ") + kProgram + " " + kUsage;
        return false;
    }
    options.fontPath = files[0];
    options.outPath = files[1];
    return true;
}

void printSummary(const Options& options, const FontBuilder& builder, const FontFileWriter& file) {
    const FontBuilder::Tally& tally = builder.tally();
    std::printf("%s: %d glyphs of %s at %d px, baseline %d (ASCII ink %d up, %d down), %zu bytes; "
                "%d shifted right, %d widened, %d visible pixels clipped from %d glyphs\n",
                std::filesystem::path(options.outPath).filename().c_str(), tally.glyphs,
                std::filesystem::path(options.fontPath).filename().c_str(), options.pixelSize, builder.baseline(),
                builder.ascent(), builder.descent(), file.bytes().size(), tally.shifted, tally.widened,
                tally.clippedPixels, tally.clippedGlyphs);
}

}  // namespace

int FontCommand::run(const std::vector<std::string>& args) {
    Options options;
    std::string error;
    if (!parseArguments(args, options, error)) {
        return fail(error);
    }
    if (!std::filesystem::is_regular_file(options.fontPath)) {
        return fail("font file " + options.fontPath + " not found");
    }
    GlyphRasteriser rasteriser;
    if (!rasteriser.open(options.fontPath, options.pixelSize, options.hinting, error)) {
        return fail(error);
    }
    FontBuilder builder(rasteriser, options.settings);
    const std::optional<FontFileWriter> file = builder.build(error);
    if (!file) {
        return fail(options.fontPath + ": " + error);
    }
    if (!file->writeFile(options.outPath, error)) {
        return fail(error);
    }
    printSummary(options, builder, *file);
    return kSuccess;
}

}  // namespace vornel
