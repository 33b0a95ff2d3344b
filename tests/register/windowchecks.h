#pragma once

#include "tests/support/dialoganswerer.h"

#include <QWidget>
#include <functional>

// Runs `action` and tells whether it brought up a modal window (closed again at once). A
// window that opens blocks the action until it is answered, so no waiting is needed.
inline bool opensAWindow(const std::function<void()> &action)
{
    DialogAnswerer guard;
    bool opened = false;
    guard.handle([&opened](QWidget *window) {
        opened = true;
        window->close();
    });
    action();
    return opened;
}
