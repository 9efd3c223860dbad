#ifndef OSTREVANDA_SETPLAY_SHAREABLE_H
#define OSTREVANDA_SETPLAY_SHAREABLE_H

#include <memory>

namespace ostrevanda {
namespace setplay {

// Parameters and player references can be handed out by reference from a set
// play's lists; such an object is marked shared and stays with the list's owner.
class Shareable {
public:
    bool isShared() const { return m_shared; }
    void markShared() const { m_shared = true; }

protected:
    Shareable() = default;
    Shareable(const Shareable&) : m_shared(false) {}
    Shareable& operator=(const Shareable&) { return *this; }
    ~Shareable() = default;

private:
    mutable bool m_shared = false;
};

// Deletes a part that its holder owns, unless it belongs to a list.
template <typename T>
void dispose(const T* p) {
    if (!p) return;
    const Shareable* s = dynamic_cast<const Shareable*>(p);
    if (s && s->isShared()) return;
    delete p;
}

template <typename T>
struct Disposer {
    void operator()(const T* p) const { dispose(p); }
};

template <typename T>
using Owned = std::unique_ptr<T, Disposer<T>>;

// Marks a list element handed out by reference and returns it.
template <typename T>
T* shared(T* p) {
    if (p) {
        const Shareable* s = dynamic_cast<const Shareable*>(p);
        if (s) s->markShared();
    }
    return p;
}

}  // namespace setplay
}  // namespace ostrevanda

#endif
