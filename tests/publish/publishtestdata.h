#pragma once

#include "store/cursor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVariantMap>

// The upload files and "news.txt" live in the working directory; each test gets a fresh one.
class WorkDir
{
public:
    WorkDir()
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~WorkDir() { QDir::setCurrent(m_previous); }

    QString path() const { return QDir::cleanPath(m_dir.path()) + QLatin1Char('/'); }
    QByteArray read(const QString &name) const
    {
        QFile file(path() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path() + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Appends and posts a record with the given values; returns its Id.
inline int addRecord(Cursor &cursor, const QVariantMap &values)
{
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
    return cursor.integer(QStringLiteral("Id"));
}

// Fills in the one settings record.
inline void setSettings(Cursor &defaults, const QVariantMap &values)
{
    defaults.open();
    if (defaults.isEmpty())
        defaults.append();
    else
        defaults.edit();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        defaults.setValue(it.key(), it.value());
    defaults.post();
}

inline const QString uploadFilter =
    QStringLiteral("(Web = True or Apro = True) and Feltoltve = False");
