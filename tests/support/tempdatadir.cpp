#include "tests/support/tempdatadir.h"

#include "tests/support/testserver.h"

#include <QDir>

TempDataDir::TempDataDir()
    : m_previous(qgetenv("PELMORA_DATA"))
    , m_previousServer(qgetenv("PELMORA_DB"))
{
    qputenv("PELMORA_DATA", m_dir.path().toUtf8());
    if (testserver::active()) {
        m_database = testserver::createDatabase();
        qputenv("PELMORA_DB", testserver::uriFor(m_database).toUtf8());
    }
}

TempDataDir::~TempDataDir()
{
    if (!m_database.isEmpty()) {
        if (m_previousServer.isEmpty())
            qunsetenv("PELMORA_DB");
        else
            qputenv("PELMORA_DB", m_previousServer);
        try {
            testserver::dropDatabase(m_database);
        } catch (const std::exception &) {
            // A database a test still holds open goes with the cluster at the end of the run.
        }
    }
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
