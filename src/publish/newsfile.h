#pragma once

#include <QString>
#include <functional>

class Database;

// The portal's message file: news and the inquiries visitors left on the portal.
struct NewsCounts
{
    int messages = 0;
    int inquiries = 0;
};

// Reads the downloaded message file, stores every entry in `hirek` and every inquiry also as a
// search request in `erdeklodes`, all in one transaction; then deletes the file and logs the
// counts. A malformed or unreadable file stores nothing, stays where it is, and the reason is
// logged; the result is then false.
bool ProcessNewsFile(Database &db, const QString &path,
                     const std::function<void(const QString &)> &log, NewsCounts *counts = nullptr);
