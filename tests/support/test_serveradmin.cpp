#include "tests/support/serveradmin.h"
#include "tests/support/testserver.h"

#include <QUrl>
#include <QtTest>
#include <stdexcept>

// Databases of their own on a server named either way libpq takes an address: the benchmarks
// are given PELMORA_DB as an agency writes it, which need not be a URI.
class TestServerAdmin : public QObject
{
    Q_OBJECT

    // Fails unless the address reaches the database `name`.
    static void expectDatabase(const QString &address, const QString &name)
    {
        serveradmin::exec(address,
                          QStringLiteral("DO $$ BEGIN IF current_database() <> '%1' THEN "
                                         "RAISE EXCEPTION 'on %', current_database(); "
                                         "END IF; END $$")
                              .arg(name));
    }

private slots:
    void initTestCase() { QVERIFY2(testserver::active(), "runs on the office server only"); }

    void madeReachedAndDropped()
    {
        const QString admin = testserver::adminUri();
        const QUrl url(admin);
        const QString keyValue =
            QStringLiteral("host=%1 port=%2 user=%3 password='%4' dbname=postgres")
                .arg(url.host())
                .arg(url.port())
                .arg(url.userName(), url.password());
        const QString name = serveradmin::createDatabase(admin, QStringLiteral("sa_"));
        QVERIFY(name.startsWith(QLatin1String("sa_")));
        const QString other = serveradmin::createDatabase(keyValue, QStringLiteral("sa_"));
        QVERIFY(other != name);

        expectDatabase(serveradmin::withDatabase(admin, name), name);
        // The dbname given last wins over the one the address started with.
        expectDatabase(serveradmin::withDatabase(keyValue, name), name);
        expectDatabase(serveradmin::withDatabase(keyValue, other), other);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 expectDatabase(serveradmin::withDatabase(admin, other), name));

        serveradmin::dropDatabase(admin, name);
        serveradmin::dropDatabase(keyValue, other);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 expectDatabase(serveradmin::withDatabase(admin, name), name));
        // Dropping what is gone already is no error: a cleanup may run twice.
        serveradmin::dropDatabase(admin, name);
    }
};

QTEST_GUILESS_MAIN(TestServerAdmin)
#include "test_serveradmin.moc"
