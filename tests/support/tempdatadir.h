#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh data directory for one test, named through PELMORA_DATA as an agency would, and
// removed afterwards. In a run on the office server (testserver::active()) it comes with a
// fresh, empty server database named through PELMORA_DB, dropped afterwards: a register made
// there starts as empty as one made in the folder.
class TempDataDir
{
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const; // with a trailing separator
    QString filePath(const QString &name) const;
    // The server database's name; empty on SQLite.
    const QString &serverDatabase() const { return m_database; }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    QByteArray m_previousServer;
    QString m_database;
};
