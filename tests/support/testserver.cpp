#include "tests/support/testserver.h"

#include "tests/support/serveradmin.h"

#include <QFile>
#include <stdexcept>

namespace testserver {

bool active()
{
    return !qEnvironmentVariable("PELMORA_TEST_SERVER_FILE").isEmpty();
}

QString adminUri()
{
    QFile file(qEnvironmentVariable("PELMORA_TEST_SERVER_FILE"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the test server's URI file cannot be read");
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString uriFor(const QString &name)
{
    return serveradmin::withDatabase(adminUri(), name);
}

QString createDatabase()
{
    return serveradmin::createDatabase(adminUri(), QStringLiteral("t_"));
}

void dropDatabase(const QString &name)
{
    serveradmin::dropDatabase(adminUri(), name);
}

void run(const QString &name, const QString &sql)
{
    serveradmin::exec(uriFor(name), sql);
}

} // namespace testserver
