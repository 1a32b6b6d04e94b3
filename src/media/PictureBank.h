// The picture library's bank: pictures spread over numbered files of 32768 bytes (app0.bin,
// app1.bin, ...), indexed at open, decoded on first use, cached, and evicted when memory runs out.
#pragma once

#include <cstdint>

#include "core/Allocator.h"
#include "core/Array.h"
#include "core/Base.h"
#include "core/FileStream.h"
#include "core/Fixed.h"
#include "core/Rect.h"
#include "core/Ref.h"
#include "core/RefArray.h"
#include "core/String.h"
#include "core/StringBuffer.h"
#include "core/SurfaceView.h"
#include "media/Picture.h"

namespace vornel {

class PictureBank final : public Base, public Allocator::ReclaimTarget {
public:
    static constexpr int32_t kFileSize = 32768;  // bytes in every bank file but the last
    static constexpr int kFileShift = 15;
    // The first bytes of every JPEG of a bank are the same; later records leave them out.
    static constexpr int32_t kSharedJpegHeader = 623;
    static constexpr int32_t kHeightOffset = 163;  // then the width at 165, both big-endian
    // Sanity limits for what a header may ask for: far beyond any real bank, far below what
    // would exhaust memory. A bank that asks for more is taken as damaged.
    static constexpr int32_t kMaxPictures = 0x10000;
    static constexpr int32_t kMaxScratch = 0x4000000;  // bytes
    // The same for a record's width × height: a damaged size would otherwise ask for up to
    // 4 GB of pixel words (and a JPEG record for that many pixels decoded).
    static constexpr int32_t kMaxPixels = 0x1000000;  // 4096 × 4096, 64 MB of pixel words

    // Makes the bank and opens the files named name0.bin, name1.bin, ... of the program folder.
    PictureBank(Ref<Object> owner, const String& name);

    virtual void close();
    virtual void free(int32_t index);
    // Draws picture index with its blit; answers what the blit answers.
    virtual int32_t draw(int32_t index, const Array<uint32_t>& surface, int32_t stride, int32_t rows,
                         int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom, Fixed left,
                         Fixed top, Fixed inverseScale, int32_t depth, Fixed opacity);
    // The same into a surface view (Picture::blitInto).
    int32_t drawPicture(int32_t index, const Surface32& surface, const Rect& clip, FixedPoint topLeft,
                        Fixed inverseScale, int32_t depth, Fixed opacity);
    // Evicts unused pictures until bytes bytes of pixels are freed: 1 when that was reached,
    // 0 when a whole sweep could not free enough.
    int32_t reclaim(int32_t bytes) override;
    // The second entry point of free, with the same behaviour.
    virtual void drop(int32_t index);
    // Picture index, loaded if needed and marked used. A bad index answers an empty picture.
    virtual Ref<Picture> getPicture(int32_t index);
    virtual Ref<Picture> get(int32_t index);
    virtual void open(const String& name);
    // Loads pictures first..last while memory has never run short.
    virtual void preload(int32_t first, int32_t last);
    virtual int32_t readVarInt();
    virtual void freeRange(int32_t first, int32_t last);

    // Makes picture index the first candidate of the next eviction sweep.
    void hintEviction(int32_t index);
    // Lets the allocator ask this bank for memory when the heap runs out.
    void becomeReclaimTarget();

    int32_t count() const { return m_count; }
    // Bytes of record index in the bank stream (0 for a bad index).
    int32_t recordLength(int32_t index) const;
    bool isLoaded(int32_t index) const;
    int32_t clockHand() const { return m_clockHand; }

protected:
    ~PictureBank() override;

private:
    void openFile(int32_t number);
    void seek(int32_t target);
    int32_t readByteAtPosition();
    bool readBlock(int32_t index, int32_t count);
    bool readHeader();
    void forgetIndex();
    Ref<Picture> loadPicture(int32_t index);
    const char* decodeRecord(int32_t index, Picture& picture);
    bool validIndex(int32_t index) const;
    const char* fileName(int32_t number);

    Ref<StringBuffer> m_pathBuffer;
    Ref<String> m_name;
    Ref<FileStream> m_stream;
    int32_t m_fileNumber = -1;
    int32_t m_position = 0;      // offset in the bank stream
    uint8_t m_memoryPressure = 0;  // set by the first reclaim, never cleared
    int32_t m_clockHand = 0;     // where the next eviction sweep starts
    Array<uint8_t> m_scratch;    // each record's data, behind the shared JPEG header
    int32_t m_count = 0;
    Array<int32_t> m_offsets;    // count + 1 stream offsets: record i is offsets[i]..offsets[i + 1]
    RefArray<Picture> m_pictures;
    Ref<Object> m_owner;
    int32_t m_missingFile = -1;  // the last file reported missing, so it is reported once
    bool m_unusable = false;     // the bank could not be opened; that was already reported
    bool m_shortageReported = false;  // a picture found no memory for its pixels; said once
};

}  // namespace vornel
