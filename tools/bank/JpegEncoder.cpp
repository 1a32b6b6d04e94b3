// JPEG compression into memory with libjpeg. The library reports errors by calling a
// function that must not return, so compression runs behind a setjmp and every bit of state
// the error path needs lives in one structure outside the jumping frame.
#include "bank/JpegEncoder.h"

#include <array>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "bank/ColourBleed.h"

namespace vornel {

namespace {

constexpr int32_t kFrameHeaderStart = JpegEncoder::kSizeOffset - 5;  // FF C0, length, precision
constexpr uint8_t kMarkerByte = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kBaselineFrame = 0xC0;
constexpr uint8_t kStartOfScan = 0xDA;

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

// Warnings (such as a corrupt input that cannot happen when compressing) are not printed.
void ignoreMessage(j_common_ptr) {}

// Collects the compressed bytes into a vector through a 4 KB staging buffer.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<uint8_t>* bytes;
    std::array<uint8_t, 4096> buffer;
};

void startDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->manager.next_output_byte = destination->buffer.data();
    destination->manager.free_in_buffer = destination->buffer.size();
}

boolean flushFullBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->insert(destination->bytes->end(), destination->buffer.begin(), destination->buffer.end());
    startDestination(info);
    return TRUE;
}

void flushLastBytes(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    const std::size_t used = destination->buffer.size() - destination->manager.free_in_buffer;
    destination->bytes->insert(destination->bytes->end(), destination->buffer.begin(),
                               destination->buffer.begin() + static_cast<std::ptrdiff_t>(used));
}

struct Compression {
    jpeg_compress_struct info;
    ErrorTrap trap;
    VectorDestination destination;
    std::vector<uint8_t> row;  // one row of R, G, B bytes
};

void configure(Compression& compression, const RgbaImage& image) {
    jpeg_compress_struct& info = compression.info;
    info.dest = &compression.destination.manager;
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, JpegEncoder::kQuality, TRUE);
    info.optimize_coding = FALSE;
    info.restart_interval = 0;
    info.restart_in_rows = 0;
    info.write_JFIF_header = TRUE;
    info.dct_method = JDCT_ISLOW;
    // 4:2:0: one chroma sample for every 2 × 2 luma samples.
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    for (int component = 1; component < 3; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
}

void writeRows(Compression& compression, const RgbaImage& image) {
    std::vector<uint8_t>& row = compression.row;
    while (compression.info.next_scanline < compression.info.image_height) {
        const auto y = static_cast<int32_t>(compression.info.next_scanline);
        for (int32_t x = 0; x < image.width(); ++x) {
            const uint32_t argb = image.pixel(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<uint8_t>(argb >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<uint8_t>(argb >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<uint8_t>(argb);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&compression.info, rows, 1);
    }
}

// Everything that may jump back lives in compression, so no local of this frame is
// touched after the jump.
bool compress(Compression& compression, const RgbaImage& image) {
    compression.info.err = jpeg_std_error(&compression.trap.manager);
    compression.trap.manager.error_exit = jumpOnError;
    compression.trap.manager.output_message = ignoreMessage;
    if (setjmp(compression.trap.jump) != 0) {
        jpeg_destroy_compress(&compression.info);
        return false;
    }
    jpeg_create_compress(&compression.info);
    configure(compression, image);
    jpeg_start_compress(&compression.info, TRUE);
    writeRows(compression, image);
    jpeg_finish_compress(&compression.info);
    jpeg_destroy_compress(&compression.info);
    return true;
}

uint16_t bigEndian16(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace

bool JpegEncoder::encode(const RgbaImage& image, std::vector<uint8_t>& jpeg, std::string& error) {
    if (image.isEmpty()) {
        error = "cannot compress an empty picture";
        return false;
    }
    RgbaImage bled = image;
    ColourBleed::bleedUnderTransparency(bled);

    std::vector<uint8_t> bytes;
    auto compression = std::make_unique<Compression>();
    compression->destination.manager.init_destination = startDestination;
    compression->destination.manager.empty_output_buffer = flushFullBuffer;
    compression->destination.manager.term_destination = flushLastBytes;
    compression->destination.bytes = &bytes;
    compression->row.assign(static_cast<std::size_t>(image.width()) * 3, 0);
    if (!compress(*compression, bled)) {
        error = std::string("JPEG compression failed: ") + compression->trap.message;
        return false;
    }
    if (!hasSharedHeaderLayout(bytes)) {
        error = "this libjpeg does not write the 623-byte shared header layout";
        return false;
    }
    jpeg = std::move(bytes);
    return true;
}

bool JpegEncoder::hasSharedHeaderLayout(const std::vector<uint8_t>& jpeg) {
    if (jpeg.size() < static_cast<std::size_t>(kSharedHeaderSize) || jpeg[0] != kMarkerByte ||
        jpeg[1] != kStartOfImage) {
        return false;
    }
    // Walk the marker segments: each is FF, a code and a 16-bit length that counts itself.
    std::size_t at = 2;
    bool frameInPlace = false;
    while (at + 4 <= jpeg.size() && jpeg[at] == kMarkerByte) {
        const uint8_t code = jpeg[at + 1];
        const std::size_t end = at + 2 + bigEndian16(jpeg, at + 2);
        if (code == kBaselineFrame) {
            frameInPlace = at == static_cast<std::size_t>(kFrameHeaderStart);
        }
        if (code == kStartOfScan) {
            return frameInPlace && end == static_cast<std::size_t>(kSharedHeaderSize);
        }
        at = end;
    }
    return false;
}

}  // namespace vornel
