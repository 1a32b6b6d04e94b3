// JPEG pictures of the picture bank, decoded from memory with libjpeg into opaque pixel words.
#include "media/JpegDecode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "core/Console.h"
#include "core/String.h"

namespace vornel {
namespace {

// Alpha code 7 (opaque) and run count 31 in the top byte of every decoded pixel.
constexpr uint32_t kOpaqueTop = 0xFF000000u;
constexpr int kRgbBytes = 3;  // bytes per pixel of an RGB scanline

// Ceiling on the library's own buffers, in bytes. Only progressive pictures keep whole-image
// coefficient arrays (3 to 6 bytes a pixel), so 64 MB covers ten megapixels, far beyond any
// bank picture, while a forged frame header claiming 65500 × 65500 fails at once instead of
// asking for gigabytes.
constexpr long kLibraryMemoryLimit = 64L * 1024 * 1024;

// The standard error manager, its fatal exit turned into a jump back to the decoder.
struct ErrorTrap {
    jpeg_error_mgr manager;  // first, so the library's pointer to it is a pointer to the trap
    std::jmp_buf jump;
    char firstWarning[JMSG_LENGTH_MAX];  // said only if the picture decodes after all
};

// Everything the failure path needs. It lives in jpegDecode's frame, outside the frame that
// calls setjmp, so nothing here is left indeterminate by the jump.
struct DecodeJob {
    jpeg_decompress_struct decompressor;
    ErrorTrap trap;
    const uint8_t* data;
    std::size_t length;  // in bytes; the source never reads past it
    int32_t width;       // expected size in pixels
    int32_t height;
    uint32_t* pixels;  // width × height words
};

ErrorTrap& trapOf(j_common_ptr common) {
    return *reinterpret_cast<ErrorTrap*>(common->err);
}

[[noreturn]] void failDecoding(j_common_ptr common) {
    char message[JMSG_LENGTH_MAX];
    (*common->err->format_message)(common, message);
    std::fprintf(stderr, "jpegDecode: %s\n", message);
    std::longjmp(trapOf(common).jump, 1);
}

// Damaged data mostly yields warnings (a stream cut short is padded with an end marker and
// decoded). The first one is kept for a single line once the outcome is known, so a picture
// never says more than one line; trace messages are dropped.
void keepFirstWarning(j_common_ptr common, int level) {
    if (level < 0 && common->err->num_warnings++ == 0) {
        (*common->err->format_message)(common, trapOf(common).firstWarning);
    }
}

void prepare(DecodeJob& job) {
    job.decompressor.err = jpeg_std_error(&job.trap.manager);
    job.trap.manager.error_exit = failDecoding;
    job.trap.manager.emit_message = keepFirstWarning;
}

// Reads the header and starts full-size RGB output; a size other than the expected one is
// reported on the console and decoded anyway, as far as it overlaps.
void startDecoding(DecodeJob& job) {
    jpeg_decompress_struct& decompressor = job.decompressor;
    jpeg_create_decompress(&decompressor);
    decompressor.mem->max_memory_to_use = kLibraryMemoryLimit;
    jpeg_mem_src(&decompressor, job.data, job.length);
    jpeg_read_header(&decompressor, TRUE);
    if (decompressor.image_width != static_cast<JDIMENSION>(job.width) ||
        decompressor.image_height != static_cast<JDIMENSION>(job.height)) {
        Console::printLine(*String::fromLiteral("jpegDecode width height mismatch"));
    }
    decompressor.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decompressor);
}

// Reads each pixel's three bytes before writing its word, so the row may lie in the tail of
// the very block it is converted into.
void convertRow(const uint8_t* rgb, uint32_t* words, int32_t count) {
    for (int32_t x = 0; x < count; ++x, rgb += kRgbBytes) {
        const uint32_t red = rgb[0];
        const uint32_t green = rgb[1];
        const uint32_t blue = rgb[2];
        words[x] = kOpaqueTop | red << 16 | green << 8 | blue;
    }
}

// A picture of the expected size is decoded in place: its RGB row sits in the last 3 × width
// bytes of the block, and the 4 × width bytes written for row r never reach the bytes of a
// pixel not yet converted, not even on the last row. Any other size gets a row of its own
// from the library's pool, which goes with the decompressor.
JSAMPROW rowBuffer(DecodeJob& job) {
    jpeg_decompress_struct& decompressor = job.decompressor;
    if (decompressor.output_width == static_cast<JDIMENSION>(job.width) &&
        decompressor.output_height == static_cast<JDIMENSION>(job.height)) {
        const std::size_t tailStart = (4 * static_cast<std::size_t>(job.height) - 3) * static_cast<std::size_t>(job.width);
        return reinterpret_cast<uint8_t*>(job.pixels) + tailStart;
    }
    const JDIMENSION rowBytes = decompressor.output_width * kRgbBytes;
    return (*decompressor.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decompressor), JPOOL_IMAGE, rowBytes, 1)[0];
}

// Fills row r of the block from scanline r, for the rows and columns both sizes share.
void readRows(DecodeJob& job) {
    jpeg_decompress_struct& decompressor = job.decompressor;
    JSAMPROW row = rowBuffer(job);
    const JDIMENSION rows = std::min(decompressor.output_height, static_cast<JDIMENSION>(job.height));
    const auto columns = static_cast<int32_t>(std::min(decompressor.output_width, static_cast<JDIMENSION>(job.width)));
    while (decompressor.output_scanline < rows) {
        const JDIMENSION rowIndex = decompressor.output_scanline;
        if (jpeg_read_scanlines(&decompressor, &row, 1) != 1) {
            return;  // cannot happen with a memory source, which never suspends
        }
        convertRow(row, job.pixels + static_cast<std::size_t>(rowIndex) * static_cast<std::size_t>(job.width), columns);
    }
}

// Rows beyond the block were never read; finishing would insist on them, aborting does not.
void endDecoding(jpeg_decompress_struct& decompressor) {
    if (decompressor.output_scanline == decompressor.output_height) {
        jpeg_finish_decompress(&decompressor);
    } else {
        jpeg_abort_decompress(&decompressor);
    }
}

// Every library call that may fail runs below this frame; a failure jumps back here.
bool decodeGuarded(DecodeJob& job) {
    if (setjmp(job.trap.jump) != 0) {
        return false;
    }
    startDecoding(job);
    if (job.decompressor.output_components != kRgbBytes) {
        std::fprintf(stderr, "jpegDecode: the library gave %d bytes a pixel, not RGB\n",
                     job.decompressor.output_components);
        return false;
    }
    readRows(job);
    endDecoding(job.decompressor);
    if (job.trap.manager.num_warnings > 0) {
        std::fprintf(stderr, "jpegDecode: warning: %s\n", job.trap.firstWarning);
    }
    return true;
}

bool insideArray(int32_t arrayLength, int64_t first, int64_t count) {
    return first >= 0 && count >= 0 && first + count <= arrayLength;
}

}  // namespace

bool jpegDecode(const uint8_t* data, std::size_t length, int32_t width, int32_t height, uint32_t* pixels) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        std::fprintf(stderr, "jpegDecode: no pixel block of %d x %d to fill\n", width, height);
        return false;
    }
    DecodeJob job{};
    job.data = data;
    job.length = length;
    job.width = width;
    job.height = height;
    job.pixels = pixels;
    prepare(job);
    const bool decoded = decodeGuarded(job);
    jpeg_destroy_decompress(&job.decompressor);
    if (!decoded) {
        std::memset(pixels, 0, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(uint32_t));
    }
    return decoded;
}

int32_t decodeJpeg(const Array<uint8_t>& data, int32_t offset, int32_t length, int32_t width, int32_t height,
                   const Array<uint32_t>& pixels, int32_t pixelOffset) {
    const int64_t pixelCount = static_cast<int64_t>(width) * height;
    if (width <= 0 || height <= 0 || !insideArray(data.length(), offset, length) ||
        !insideArray(pixels.length(), pixelOffset, pixelCount)) {
        std::fprintf(stderr, "decodeJpeg: bytes %d+%d or %d x %d pixels at %d lie outside their arrays\n", offset,
                     length, width, height, pixelOffset);
        return 0;
    }
    return jpegDecode(data.data() + offset, static_cast<std::size_t>(length), width, height,
                      pixels.data() + pixelOffset)
               ? 1
               : 0;
}

}  // namespace vornel
