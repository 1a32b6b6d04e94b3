// Object allocation and destruction.
#include "core/Object.h"

#include "core/Allocator.h"

namespace vornel {

void* Object::operator new(std::size_t bytes) {
    return Allocator::allocateOrExit(bytes);
}

void Object::operator delete(void* block) {
    Allocator::release(block);
}

void Object::destroy(int flags) {
    if ((flags & 1) != 0) {
        delete this;
    } else {
        this->~Object();
    }
}

}  // namespace vornel
