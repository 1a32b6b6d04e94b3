// StringBuffer growth and appends.
#include "core/StringBuffer.h"

#include <cstring>

#include "core/Allocator.h"

namespace vornel {

StringBuffer::StringBuffer()
    : m_text(static_cast<char*>(Allocator::allocateOrExit(static_cast<std::size_t>(kInitialCapacity) + 1))) {}

StringBuffer::~StringBuffer() {
    Allocator::release(m_text);
}

void StringBuffer::growTo(int32_t capacity) {
    auto* grown = static_cast<char*>(Allocator::allocateOrExit(static_cast<std::size_t>(capacity) + 1));
    std::memcpy(grown, m_text, static_cast<std::size_t>(m_length) + 1);
    Allocator::release(m_text);
    m_text = grown;
    m_capacity = capacity;
}

void StringBuffer::append(const String& string) {
    const char* characters = string.text();
    const int32_t count = string.length();
    if (m_length + count > m_capacity) {
        growTo(m_length + count + kGrowthSlack);
    }
    for (int32_t i = 0; i < count; ++i) {
        append(characters[i]);
    }
}

void StringBuffer::append(char character) {
    if (m_length + 1 > m_capacity) {
        growTo(m_length + 1 + kGrowthSlack);
    }
    m_text[m_length++] = character;
    m_text[m_length] = '\0';
}

void StringBuffer::appendNumber(int32_t value) {
    append(*String::fromNumber(value));
}

void StringBuffer::setLength(int32_t length) {
    if (length < 0 || length > m_length) {
        return;
    }
    m_length = length;
    m_text[m_length] = '\0';
}

Ref<String> StringBuffer::toString() const {
    return new String(m_text, 0, m_length);
}

}  // namespace vornel
