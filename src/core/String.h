// Immutable 8-bit text. Literals are interned once in a process-wide list and never freed;
// other strings own a private copy of their text.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Ref.h"

namespace vornel {

class String final : public Object {
public:
    // A heap string of count characters copied from chars + offset.
    String(const char* chars, int32_t offset, int32_t count);

    // The interned string for a program text constant: the same object for every equal text.
    // The list holds its own reference, so the string lives for the rest of the run; the
    // caller gets no reference of its own.
    static String* fromLiteral(const char* literal);
    // The interned string equal to this text: an entry already listed, or the given string,
    // which the list then keeps for the rest of the run.
    static String* intern(String* string);

    // The decimal text of an integer, with a leading '-' for negative values.
    static Ref<String> fromNumber(int32_t value);
    // The leading decimal number of the text: blanks skipped, an optional sign, digits;
    // 0 when there are none. Values beyond 32 bits saturate.
    int32_t toNumber() const;

    const char* text() const { return m_text; }
    int32_t length() const;
    bool equals(const String& other) const;
    // The characters from index from to the end (from is kept within 0..length).
    Ref<String> substring(int32_t from) const;

protected:
    ~String() override;

private:
    struct LiteralText {};
    String(const char* literal, LiteralText);

    static String* findInterned(const char* text);
    static void link(String* string);

    char* m_text = nullptr;          // owned, except for interned literals
    String* m_internNext = nullptr;  // next entry of the intern list, newest first
};

}  // namespace vornel
