#pragma once

#include <QPointer>
#include <functional>

// The handle of a long-lived window that is made the first time it is needed: until then only
// the way to make it is kept, so a start does not pay for windows the user may never open. Once
// made it stays, keeping its contents between openings, until its parent deletes it; the handle
// never owns it. A handle may also be given a window made elsewhere.
template<class Window>
class LazyWindow
{
public:
    LazyWindow() = default;
    LazyWindow(Window *made) // NOLINT(google-explicit-constructor): handles are set like pointers
        : m_window(made)
    { }

    void makeWith(std::function<Window *()> make) { m_make = std::move(make); }

    // The window, made now if it was not yet.
    Window *get() const
    {
        if (!m_window && m_make)
            m_window = m_make();
        return m_window.data();
    }
    Window *operator->() const { return get(); }

    // The window when it has been made (and not deleted since), else null: for what only
    // concerns a window that has been in use.
    Window *made() const { return m_window.data(); }

    // Whether there is a window to open, made or not.
    bool available() const { return m_window || m_make; }

private:
    std::function<Window *()> m_make;
    mutable QPointer<Window> m_window;
};
