#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// An empty per-user configuration folder for each test function, with secrets kept in the file
// store (tests never reach a desktop's secret service).
class TempConfigDir
{
public:
    QString path() const { return m_dir.path(); }
    // Called from init(): empties the folder and points XDG_CONFIG_HOME at it.
    void reset()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        qputenv("PELMORA_SECRETS", "file");
    }

private:
    QTemporaryDir m_dir;
};
