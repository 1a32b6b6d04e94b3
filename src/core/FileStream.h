// Read-only byte streams over the data files of the program folder.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/Array.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/String.h"

namespace vornel {

class FileStream final : public Object {
public:
    // Opens the file named relative to the program folder ("/help.txt" and "help.txt" are
    // the same file). Answers whether it opened.
    bool open(const String& name);

    // Reads up to count bytes into the array from offset on: the count read, or -1 when there
    // is no file or nothing could be read (end of file). Reads never go past the array's end.
    int32_t read(const Array<uint8_t>& array, int32_t offset, int32_t count);
    // The next byte, 0..255, or -1 at the end of the file or without a file.
    int32_t readByte();
    void close();
    bool isOpen() const { return m_file != nullptr; }

protected:
    // Holders close their streams; one that is dropped open is closed here rather than leaked.
    ~FileStream() override;

private:
    std::FILE* m_file = nullptr;
};

// A stream open on the named file of the program folder, or null when it cannot be opened.
Ref<FileStream> openStream(const String& name);

}  // namespace vornel
