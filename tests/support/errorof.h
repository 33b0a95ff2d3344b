#pragma once

#include "store/storeerror.h"

#include <QString>
#include <functional>

// The message of the StoreError `action` throws; empty when it throws none.
inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const StoreError &error) {
        return error.message();
    }
    return {};
}
