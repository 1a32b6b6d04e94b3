// Strings and the intern list.
#include "core/String.h"

#include <atomic>
#include <cctype>
#include <charconv>
#include <cstring>
#include <mutex>

#include "core/Allocator.h"

namespace vornel {
namespace {

// Lookups walk the list without a lock: entries are only ever added at the head and never
// change once published. Additions take the mutex so that one text is never listed twice.
std::atomic<String*> g_internHead{nullptr};
std::mutex g_internAdd;

}  // namespace

String::String(const char* chars, int32_t offset, int32_t count) {
    if (count < 0) {
        count = 0;
    }
    m_text = static_cast<char*>(Allocator::allocateOrExit(static_cast<std::size_t>(count) + 1));
    if (count > 0) {
        std::memcpy(m_text, chars + offset, static_cast<std::size_t>(count));
    }
}

String::String(const char* literal, LiteralText) : m_text(const_cast<char*>(literal)) {}

String::~String() {
    Allocator::release(m_text);
    m_text = nullptr;
}

String* String::findInterned(const char* text) {
    for (String* entry = g_internHead.load(std::memory_order_acquire); entry != nullptr; entry = entry->m_internNext) {
        if (std::strcmp(entry->m_text, text) == 0) {
            return entry;
        }
    }
    return nullptr;
}

void String::link(String* string) {
    string->addReference();  // the list's own reference: interned strings never die
    string->m_internNext = g_internHead.load(std::memory_order_relaxed);
    g_internHead.store(string, std::memory_order_release);
}

String* String::fromLiteral(const char* literal) {
    if (String* found = findInterned(literal)) {
        return found;
    }
    std::lock_guard<std::mutex> lock(g_internAdd);
    if (String* found = findInterned(literal)) {
        return found;
    }
    auto* created = new String(literal, LiteralText{});
    link(created);
    return created;
}

String* String::intern(String* string) {
    if (String* found = findInterned(string->m_text)) {
        return found;
    }
    std::lock_guard<std::mutex> lock(g_internAdd);
    if (String* found = findInterned(string->m_text)) {
        return found;
    }
    link(string);
    return string;
}

Ref<String> String::fromNumber(int32_t value) {
    char digits[12];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return new String(digits, 0, static_cast<int32_t>(result.ptr - digits));
}

int32_t String::toNumber() const {
    const char* p = m_text;
    while (std::isspace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT32_MAX) {
            value = value * 10 + (*p - '0');
        }
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

int32_t String::length() const {
    return static_cast<int32_t>(std::strlen(m_text));
}

bool String::equals(const String& other) const {
    return std::strcmp(m_text, other.m_text) == 0;
}

Ref<String> String::substring(int32_t from) const {
    const int32_t total = length();
    if (from < 0) {
        from = 0;
    }
    if (from > total) {
        from = total;
    }
    return new String(m_text, from, total - from);
}

}  // namespace vornel
