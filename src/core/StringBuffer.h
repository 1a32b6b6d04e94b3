// A growable 8-bit text builder, always NUL-terminated at its length.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"

namespace vornel {

class StringBuffer final : public Object {
public:
    static constexpr int32_t kInitialCapacity = 10;
    // Room added beyond what an append needs, so that short appends rarely reallocate.
    static constexpr int32_t kGrowthSlack = 10;

    StringBuffer();

    void append(const String& string);
    void append(char character);
    void appendNumber(int32_t value);
    // Cuts the text to length characters (0 restarts the buffer); the block is kept.
    void setLength(int32_t length);
    Ref<String> toString() const;

    const char* text() const { return m_text; }
    int32_t length() const { return m_length; }
    int32_t capacity() const { return m_capacity; }

protected:
    ~StringBuffer() override;

private:
    void growTo(int32_t capacity);

    int32_t m_capacity = kInitialCapacity;  // in characters, without the terminator
    int32_t m_length = 0;
    char* m_text = nullptr;  // capacity + 1 bytes
};

}  // namespace vornel
