// The picture bank: its byte stream over numbered files, the index, loading, caching and eviction.
#include "media/PictureBank.h"

#include <cstdio>

#include "media/JpegDecode.h"
#include "media/PictureDecoder.h"

namespace vornel {
namespace {

constexpr uint8_t kJpegRecord = 'j';
constexpr uint8_t kRunLengthRecord = 'r';
constexpr uint8_t kOpaqueRunLengthRecord = 'o';

// The one fault that is not the data's: the heap was short when the pixels were wanted.
constexpr const char* kNoMemoryForPixels = "no memory for its pixels";

}  // namespace

PictureBank::PictureBank(Ref<Object> owner, const String& name) : m_owner(std::move(owner)) {
    open(name);
}

PictureBank::~PictureBank() {
    close();
    if (Allocator::reclaimTarget() == this) {
        Allocator::setReclaimTarget(nullptr);
    }
}

void PictureBank::becomeReclaimTarget() {
    Allocator::setReclaimTarget(this);
}

bool PictureBank::validIndex(int32_t index) const {
    return index >= 0 && index < m_count;
}

int32_t PictureBank::recordLength(int32_t index) const {
    return validIndex(index) ? m_offsets[index + 1] - m_offsets[index] : 0;
}

bool PictureBank::isLoaded(int32_t index) const {
    return validIndex(index) && m_pictures[index];
}

const char* PictureBank::fileName(int32_t number) {
    m_pathBuffer->setLength(0);
    m_pathBuffer->append('/');
    m_pathBuffer->append(*m_name);
    m_pathBuffer->appendNumber(number);
    m_pathBuffer->append(*String::fromLiteral(".bin"));
    return m_pathBuffer->text();
}

// ---- The bank stream ----

void PictureBank::openFile(int32_t number) {
    const char* name = fileName(number);
    close();
    m_stream = openStream(*m_pathBuffer->toString());
    if (!m_stream && number != m_missingFile) {
        std::fprintf(stderr, "Pictlib: file not found: %s\n", name + 1);
        m_missingFile = number;
    }
    m_fileNumber = number;
    m_position = number * kFileSize;
}

void PictureBank::close() {
    if (m_stream) {
        m_stream->close();
    }
    m_stream = nullptr;
    m_fileNumber = -1;
}

void PictureBank::seek(int32_t target) {
    if ((target >> kFileShift) != m_fileNumber || target < m_position) {
        openFile(target >> kFileShift);
    }
    // Skipped bytes land behind the shared JPEG header, which must survive the skip.
    const int32_t room = m_scratch.length() - kSharedJpegHeader;
    while (m_position < target && m_stream) {
        if (room <= 0) {
            if (m_stream->readByte() < 0) {
                return;
            }
            ++m_position;
            continue;
        }
        const int32_t wanted = target - m_position < room ? target - m_position : room;
        const int32_t got = m_stream->read(m_scratch, kSharedJpegHeader, wanted);
        if (got < 0) {
            return;
        }
        m_position += got;
    }
}

int32_t PictureBank::readByteAtPosition() {
    int32_t byte = m_stream ? m_stream->readByte() : -1;
    if (byte < 0) {
        seek(m_position);  // at a file's end this opens the next file
        byte = m_stream ? m_stream->readByte() : -1;
    }
    if (byte >= 0) {
        ++m_position;
    }
    return byte;
}

int32_t PictureBank::readVarInt() {
    int32_t value = 0;
    for (;;) {
        const int32_t byte = readByteAtPosition();
        if (byte < 0 || value > (INT32_MAX >> 7)) {
            return -1;  // the stream ended, or the number would not fit in 31 bits
        }
        value = (value << 7) | (byte & 127);
        if (byte < 128) {
            return value;
        }
    }
}

// Reads count bytes of the stream into the scratch array from index on, moving to the next
// file whenever one ends. The caller has checked that they fit.
bool PictureBank::readBlock(int32_t index, int32_t count) {
    while (count > 0) {
        int32_t got = m_stream ? m_stream->read(m_scratch, index, count) : -1;
        if (got < 0) {
            seek(m_position);
            got = m_stream ? m_stream->read(m_scratch, index, count) : -1;
            if (got < 0) {
                return false;
            }
        }
        index += got;
        count -= got;
        m_position += got;
    }
    return true;
}

// ---- Opening: the header and the index ----

void PictureBank::open(const String& name) {
    m_name = new String(name.text(), 0, name.length());
    m_pathBuffer = new StringBuffer();
    m_position = 0;
    m_missingFile = -1;
    openFile(0);
    m_unusable = !m_stream;
    if (m_unusable || !readHeader()) {
        if (!m_unusable) {
            std::fprintf(stderr, "Pictlib: malformed header in %s0.bin\n", m_name->text());
        }
        m_unusable = true;
        forgetIndex();
        close();
        return;
    }
    if (m_count > 0) {
        loadPicture(0);  // also brings the shared JPEG header into the scratch array
    }
}

void PictureBank::forgetIndex() {
    m_count = 0;
    m_offsets.release();
    m_pictures.release();
    m_scratch.release();
    m_clockHand = 0;
}

bool PictureBank::readHeader() {
    forgetIndex();
    const int32_t count = readVarInt();
    if (count < 0 || count > kMaxPictures) {
        return false;
    }
    m_pictures = RefArray<Picture>(count);
    m_offsets = allocInt(count + 1);
    const int32_t scratchSize = readVarInt();
    if (scratchSize < 0 || scratchSize > kMaxScratch || m_offsets.isEmpty() ||
        (count > 0 && m_pictures.isEmpty())) {
        return false;
    }
    if (scratchSize != 0) {
        m_scratch = allocByte(scratchSize);
        if (m_scratch.isEmpty()) {
            return false;
        }
    }
    for (int32_t i = 1; i <= count; ++i) {
        m_offsets[i] = readVarInt();
        if (m_offsets[i] < 0) {
            return false;
        }
    }
    m_offsets[0] = m_position;
    for (int32_t i = 1; i <= count; ++i) {
        const int64_t end = int64_t{m_offsets[i - 1]} + m_offsets[i];
        if (end > INT32_MAX) {
            return false;
        }
        m_offsets[i] = static_cast<int32_t>(end);
    }
    m_count = count;
    return true;
}

// ---- Loading pictures ----

// A damaged picture stays empty and is not read again. One the heap had no room for is
// answered empty this time and not kept, so that its next use loads it again.
Ref<Picture> PictureBank::loadPicture(int32_t index) {
    Ref<Picture> picture = new Picture();
    const char* fault = decodeRecord(index, *picture);
    if (fault == kNoMemoryForPixels) {
        if (!m_shortageReported) {
            std::fprintf(stderr, "Pictlib: no memory for picture %d of %s; it is loaded again when next needed\n",
                         index, m_name->text());
            m_shortageReported = true;
        }
        return picture;
    }
    if (fault != nullptr) {
        std::fprintf(stderr, "Pictlib: picture %d of %s (in %s%d.bin) is damaged: %s\n", index, m_name->text(),
                     m_name->text(), m_offsets[index] / kFileSize, fault);
        picture->m_pixels.release();
    }
    m_pictures[index] = picture;
    return picture;
}

// Reads and decodes record index into the picture; answers null, or what is wrong with it.
const char* PictureBank::decodeRecord(int32_t index, Picture& picture) {
    seek(m_offsets[index]);
    if (m_position != m_offsets[index]) {
        return "the bank ends before it";
    }
    const int32_t type = readVarInt();
    const int32_t width = readVarInt();
    const int32_t height = readVarInt();
    const int32_t anchorX = readVarInt();
    const int32_t anchorY = readVarInt();
    if (anchorY < 0) {
        return "its header is cut short";
    }
    picture.m_type = static_cast<uint8_t>(type);
    picture.m_width = static_cast<int16_t>(width);
    picture.m_height = static_cast<int16_t>(height);
    picture.m_anchorX = static_cast<int16_t>(anchorX);
    picture.m_anchorY = static_cast<int16_t>(anchorY);
    if (picture.m_width <= 0 || picture.m_height <= 0) {
        return "it has no size";
    }
    if (picture.m_width * picture.m_height > kMaxPixels) {
        return "it is larger than any picture of a bank";
    }

    const int32_t remaining = m_offsets[index + 1] - m_position;
    const int32_t dataStart = index == 0 ? 0 : kSharedJpegHeader;
    int32_t dataLength = remaining;
    int32_t alphaLength = 0;
    if (picture.m_type == kJpegRecord) {
        const int32_t before = m_position;
        alphaLength = readVarInt();
        if (alphaLength < 0) {
            return "its alpha length is cut short";
        }
        picture.m_opaque = alphaLength == 0 ? 1 : 0;
        dataLength = remaining - (m_position - before);
    } else if (picture.m_type == kOpaqueRunLengthRecord) {
        picture.m_opaque = 1;
        picture.m_type = kRunLengthRecord;
    } else if (picture.m_type != kRunLengthRecord) {
        return "unknown record type";
    }
    if (dataLength < alphaLength || dataLength > m_scratch.length() - dataStart) {
        return "its data does not fit the bank's scratch size";
    }
    if (!readBlock(dataStart, dataLength)) {
        return "it runs past the end of the bank";
    }

    const int32_t pixelCount = picture.m_width * picture.m_height;
    picture.m_pixels = allocInt<uint32_t>(pixelCount);
    if (picture.m_pixels.isEmpty()) {
        return kNoMemoryForPixels;
    }
    if (picture.m_type == kRunLengthRecord) {
        if (!PictureDecoder::decodeRunLength(picture, picture.m_pixels, m_scratch, dataStart, dataStart + dataLength)) {
            return "its run-length data is broken";
        }
        picture.noteTrueRuns();
        return nullptr;
    }
    const int32_t jpegLength = dataStart + dataLength - alphaLength;
    if (jpegLength <= kHeightOffset + 4) {
        return "its JPEG data is too short";
    }
    m_scratch[kHeightOffset] = static_cast<uint8_t>(picture.m_height >> 8);
    m_scratch[kHeightOffset + 1] = static_cast<uint8_t>(picture.m_height);
    m_scratch[kHeightOffset + 2] = static_cast<uint8_t>(picture.m_width >> 8);
    m_scratch[kHeightOffset + 3] = static_cast<uint8_t>(picture.m_width);
    if (decodeJpeg(m_scratch, 0, jpegLength, picture.m_width, picture.m_height, picture.m_pixels, 0) == 0) {
        return "its JPEG data is broken";
    }
    if (alphaLength != 0 &&
        !PictureDecoder::applyAlphaRuns(picture.m_pixels, m_scratch, jpegLength, jpegLength + alphaLength, pixelCount)) {
        return "its alpha runs do not match its size";
    }
    picture.noteTrueRuns();
    return nullptr;
}

Ref<Picture> PictureBank::getPicture(int32_t index) {
    if (!validIndex(index)) {
        if (!m_unusable) {
            std::fprintf(stderr, "Pictlib getPicture bad index %d\n", index);
        }
        return new Picture();  // an empty picture draws nothing
    }
    Ref<Picture> picture = m_pictures[index] ? m_pictures[index] : loadPicture(index);
    picture->m_used = 1;
    return picture;
}

Ref<Picture> PictureBank::get(int32_t index) {
    return getPicture(index);
}

int32_t PictureBank::draw(int32_t index, const Array<uint32_t>& surface, int32_t stride, int32_t rows,
                          int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed left,
                          Fixed top, Fixed inverseScale, int32_t depth, Fixed opacity) {
    return getPicture(index)->blit(surface, stride, rows, clipLeft, clipTop, clipRight, clipBottom, left, top,
                                   inverseScale, depth, opacity);
}

int32_t PictureBank::drawPicture(int32_t index, const Surface32& surface, const Rect& clip, FixedPoint topLeft,
                                 Fixed inverseScale, int32_t depth, Fixed opacity) {
    return getPicture(index)->blitInto(surface, clip, topLeft, inverseScale, depth, opacity);
}

void PictureBank::preload(int32_t first, int32_t last) {
    for (int32_t i = first < 0 ? 0 : first; i <= last && i < m_count && m_memoryPressure == 0; ++i) {
        getPicture(i);
    }
}

// ---- Freeing and eviction ----

void PictureBank::free(int32_t index) {
    if (validIndex(index)) {
        m_pictures[index] = nullptr;
    }
}

void PictureBank::drop(int32_t index) {
    free(index);
}

void PictureBank::freeRange(int32_t first, int32_t last) {
    for (int32_t i = first; i <= last; ++i) {
        free(i);
    }
}

void PictureBank::hintEviction(int32_t index) {
    if (!validIndex(index)) {
        return;
    }
    getPicture(index)->m_used = 0;
    m_clockHand = index;
}

// A clock sweep with a second chance: a used picture loses its used flag and survives this
// pass; an unused one gives its pixels back. Picture 0 holds the shared JPEG header's
// picture and is never evicted.
int32_t PictureBank::reclaim(int32_t bytes) {
    m_memoryPressure = 1;
    if (m_count == 0) {
        return 0;
    }
    int32_t steps = 2 * m_count;
    int32_t hand = m_clockHand < m_count ? m_clockHand : 0;
    for (;;) {
        Picture* picture = m_pictures[hand].get();
        if (picture != nullptr && hand != 0) {
            if (picture->m_used == 0 && picture->hasPixels()) {
                bytes -= 4 * picture->m_pixels.length();
                picture->m_pixels.release();
                m_pictures[hand] = nullptr;
                if (bytes < 1) {
                    m_clockHand = hand;
                    return 1;
                }
            } else {
                picture->m_used = 0;
            }
        }
        hand = hand + 1 == m_count ? 0 : hand + 1;
        if (--steps == 0) {
            m_clockHand = hand;
            return 0;
        }
    }
}

}  // namespace vornel
