// The program folder and path building.
#include "core/ProgramFolder.h"

#include <cstring>

namespace vornel {
namespace {

// Never destroyed: the game thread may still open files while the process exits.
std::string& folderStorage() {
    static std::string* const folder = new std::string();
    return *folder;
}

}  // namespace

void ProgramFolder::set(std::string_view folder) {
    std::string& stored = folderStorage();
    stored.assign(folder);
    if (!stored.empty() && stored.back() != '/') {
        stored.push_back('/');
    }
}

const std::string& ProgramFolder::path() {
    return folderStorage();
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
