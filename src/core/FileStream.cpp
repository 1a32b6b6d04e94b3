// File streams on the C library's files.
#include "core/FileStream.h"

#include "core/ProgramFolder.h"

namespace vornel {

FileStream::~FileStream() {
    close();
}

bool FileStream::open(const String& name) {
    char path[ProgramFolder::kPathBufferSize];
    if (!ProgramFolder::buildPath(ProgramFolder::path(), name.text(), path)) {
        return false;
    }
    m_file = std::fopen(path, "rb");
    return m_file != nullptr;
}

int32_t FileStream::read(const Array<uint8_t>& array, int32_t offset, int32_t count) {
    if (m_file == nullptr || offset < 0 || offset > array.length() || count <= 0) {
        return -1;
    }
    const int32_t room = array.length() - offset;
    const std::size_t wanted = static_cast<std::size_t>(count < room ? count : room);
    const std::size_t got = wanted == 0 ? 0 : std::fread(array.data() + offset, 1, wanted, m_file);
    return got == 0 ? -1 : static_cast<int32_t>(got);
}

int32_t FileStream::readByte() {
    if (m_file == nullptr) {
        return -1;
    }
    const int c = std::fgetc(m_file);
    return c == EOF ? -1 : c;
}

void FileStream::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

Ref<FileStream> openStream(const String& name) {
    Ref<FileStream> stream = new FileStream();
    if (!stream->open(name)) {
        return nullptr;
    }
    return stream;
}

}  // namespace vornel
