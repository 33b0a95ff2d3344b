#pragma once

#include <functional>

// Runs a user action; a table or file failure reaches the user as its Hungarian message instead
// of escaping the event loop. Returns whether the action went through.
bool runReportingErrors(const std::function<void()> &action);
