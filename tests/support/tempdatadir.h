#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh data directory for one test, named through PELMORA_DATA as an agency would, and
// removed afterwards.
class TempDataDir
{
public:
    TempDataDir();
    ~TempDataDir();
    QString path() const; // with a trailing separator
    QString filePath(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
