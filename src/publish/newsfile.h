#pragma once

#include <QString>
#include <functional>

class Database;

// The portal's message file: news and the inquiries visitors left on the portal.
struct NewsCounts
{
    int messages = 0; // stored by this call
    int inquiries = 0;
    int alreadyStored = 0; // entries an earlier call stored from the same file
    bool malformed = false;
    QString keptAside; // where a malformed file was kept, when it was
};

// Reads the downloaded message file, stores every entry in `hirek` and every inquiry also as a
// search request in `erdeklodes`, all in one transaction; then deletes the file and logs the
// counts. Entries stored before (the server kept the file) are recognised and not stored
// again. A malformed file stores nothing; a copy goes to "hibas-hirek" in the data directory
// for the agency to send to the portal, and once that copy is safe the file itself is deleted,
// so it cannot hold up every later run. An unreadable file stays where it is. The reason is
// logged; the result is then false.
// The folder of the data directory that keeps the refused message files.
QString RefusedNewsDir(const QString &dataDir);

bool ProcessNewsFile(Database &db, const QString &path,
                     const std::function<void(const QString &)> &log, NewsCounts *counts = nullptr);
