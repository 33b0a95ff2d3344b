#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

class Database;

// Backups of the register: one tar file holding a consistent copy of the database, every photo
// and the licence text, and the way back from such a file to a working data directory. Errors
// are thrown as StoreError with a message for the user.
namespace backup {

// Called as the work goes on; returning false cancels it (nothing half-done is left behind).
using Progress = std::function<bool(qint64 done, qint64 total)>;

// What a backup holds, shown to the user before a restore.
struct Contents
{
    int properties = 0;
    int archived = 0;
    int requests = 0;
    int photos = 0;
    QDateTime made;
};

// pelmora-YYYY-MM-DD-HHMM.tar
QString archiveName(const QDateTime &when);
// Why a workstation on the office server neither backs up nor restores the register here.
QString serverNotice();

// Writes a backup of the open register into `folder` (made when missing) and returns its path,
// or an empty text when cancelled. The program may go on working with the database meanwhile.
QString create(Database &db, const QString &folder, const Progress &progress = {});

// Keeps the `keep` newest backups of the folder (by the time in their names) and removes the
// older ones; files not named as backups are never touched. Returns how many were removed.
int rotate(const QString &folder, int keep);

// Unpacks a backup beside the current data and checks it whole: every file against the list
// the backup carries, the database with SQLite's integrity check and its version. Nothing of
// the current data is touched. A file that fails is refused and its unpacked copy removed;
// a cancelled check gives no value.
std::optional<Contents> stage(const QString &archivePath, const QString &dataDir,
                              const Progress &progress = {});

// The user agreed: the staged backup replaces the data at the next closing of the register.
// Returns the folder (inside the data directory) the current data will be kept in.
QString confirmStaged(const QString &dataDir, const QDateTime &when);
void discardStaged(const QString &dataDir);
bool stagedReady(const QString &dataDir);

// With the database closed: moves the current data into the folder confirmStaged named and the
// staged backup into its place. Safe to run again after an interruption; returns that folder.
QString commitStaged(const QString &dataDir);

// At start-up, before the database opens: finishes a restore that was cut off half-way, and
// drops a staged backup nobody confirmed.
void recover(const QString &dataDir);

// Per-workstation choices for the automatic backup at quit.
struct Settings
{
    QString folder; // empty: the default folder of the data directory
    int keep = 10;
    bool atQuit = true;
};
Settings loadSettings();
void saveSettings(const Settings &settings);
QString defaultFolder(const QString &dataDir);
QString folderFor(const Settings &settings, const QString &dataDir);

} // namespace backup
