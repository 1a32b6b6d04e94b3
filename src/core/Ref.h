// The counted handle: holding a Ref keeps its object alive; the last release destroys it.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace vornel {

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    // Takes the object: a freshly made object (count 0) reaches 1 here.
    Ref(T* object) : m_object(object) { take(); }
    Ref(const Ref& other) : m_object(other.m_object) { take(); }
    Ref(Ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other) : m_object(other.get()) { take(); }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other) noexcept : m_object(other.leak()) {}
    ~Ref() { drop(m_object); }

    // The new object is taken before the old one is released, so assigning a handle to
    // itself (or to another handle of the same object) never lets the object die.
    Ref& operator=(const Ref& other) { return assign(other.m_object); }
    Ref& operator=(Ref&& other) noexcept {
        T* old = std::exchange(m_object, std::exchange(other.m_object, nullptr));
        drop(old);
        return *this;
    }
    Ref& operator=(T* object) { return assign(object); }
    Ref& operator=(std::nullptr_t) { return assign(nullptr); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Gives up the handle without releasing; the caller now owns that reference.
    T* leak() { return std::exchange(m_object, nullptr); }

    friend bool operator==(const Ref& a, const Ref& b) { return a.m_object == b.m_object; }
    friend bool operator==(const Ref& a, std::nullptr_t) { return a.m_object == nullptr; }

private:
    Ref& assign(T* object) {
        if (object != nullptr) {
            object->addReference();
        }
        drop(std::exchange(m_object, object));
        return *this;
    }
    void take() {
        if (m_object != nullptr) {
            m_object->addReference();
        }
    }
    static void drop(T* object) {
        if (object != nullptr) {
            object->releaseReference();
        }
    }

    T* m_object = nullptr;
};

}  // namespace vornel
