#include "tests/support/tempdatadir.h"

#include <QDir>

TempDataDir::TempDataDir()
    : m_previous(qgetenv("PELMORA_DATA"))
{
    qputenv("PELMORA_DATA", m_dir.path().toUtf8());
}

TempDataDir::~TempDataDir()
{
    if (m_previous.isEmpty())
        qunsetenv("PELMORA_DATA");
    else
        qputenv("PELMORA_DATA", m_previous);
}

QString TempDataDir::path() const
{
    return QDir::cleanPath(m_dir.path()) + QLatin1Char('/');
}

QString TempDataDir::filePath(const QString &name) const
{
    return path() + name;
}
