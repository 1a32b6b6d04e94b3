// The program folder and path building.
#include "core/ProgramFolder.h"

#include <cstring>

#include "core/RunContext.h"

namespace vornel {

const std::string& ProgramFolder::path() {
    return RunContext::current().programFolder();
}

bool ProgramFolder::buildPath(std::string_view folder, const char* name, char* buffer) {
    if (name[0] == '/') {
        ++name;
    }
    const std::size_t nameLength = std::strlen(name);
    buffer[0] = '\0';
    if (folder.size() + nameLength + 1 > kPathBufferSize) {
        return false;
    }
    std::memcpy(buffer, folder.data(), folder.size());
    std::memcpy(buffer + folder.size(), name, nameLength + 1);
    return true;
}

}  // namespace vornel
