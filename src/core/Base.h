// The root of every application class, with its eight virtual operations in their fixed
// order; subclasses append theirs after these.
#pragma once

#include <cstdint>

#include "core/Array.h"
#include "core/FileStream.h"
#include "core/Fixed.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"

namespace vornel {

class Base : public Object {
public:
    // Arc tangent of y/x in turns.
    virtual Turn fatan2(Fixed y, Fixed x);
    // The decimal text of the value's integer part (shifted right by 15, so -0x8000 is "-1").
    virtual Ref<String> toString(Fixed value);
    // Reads until count bytes are in the array from offset on, or the stream ends; answers
    // how many bytes were read.
    virtual int32_t readFully(FileStream& stream, const Array<uint8_t>& array, int32_t offset, int32_t count);
    // Console traces: the text, then each integer after one blank, then a line end.
    virtual void trace(const String& text, int32_t first, int32_t second);
    virtual void trace(const String& text, int32_t value);
    virtual void trace(const String& text);
    // Logical (unsigned) right shift of a 32-bit value; a shift of 32 or more, counting only
    // the low 8 bits of shift, gives 0.
    virtual int32_t ushr(int32_t value, int32_t shift);

protected:
    ~Base() override = default;
};

}  // namespace vornel
