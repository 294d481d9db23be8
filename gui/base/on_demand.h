#pragma once
// A window that is made the first time something needs it, and then kept for the run.

#include <functional>
#include <utility>
#include <vector>

namespace kmr::gui {

// `make` builds the window with a Qt parent, which owns it from then on; what has to be set on the window
// once it exists is given to whenMade() by whoever needs it set.
template <class T>
class OnDemand {
public:
    explicit OnDemand(std::function<T*()> make) : m_make(std::move(make)) {}
    OnDemand(const OnDemand&) = delete;
    OnDemand& operator=(const OnDemand&) = delete;

    T& get() {
        if (m_window == nullptr) {
            m_window = m_make();
            for (const auto& then : m_whenMade) then(*m_window);
            m_whenMade.clear();
        }
        return *m_window;
    }
    T* operator->() { return &get(); }
    T& operator*() { return get(); }

    // The window, or null while nothing has needed it.
    T* ifMade() const { return m_window; }
    // Runs `then` on the window as soon as it exists (at once when it does).
    void whenMade(std::function<void(T&)> then) {
        if (m_window != nullptr) {
            then(*m_window);
        } else {
            m_whenMade.push_back(std::move(then));
        }
    }

private:
    std::function<T*()> m_make;
    std::vector<std::function<void(T&)>> m_whenMade;
    T* m_window = nullptr;
};

}  // namespace kmr::gui
