#include "store/secretstore.h"
#include "tests/support/configdir.h"

#include <QtTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The file the secrets fall back to where no secret service runs, as this machine has none.
class TestSecretStore : public QObject
{
    Q_OBJECT

private:
    static mode_t modeOf(const QString &path)
    {
        struct stat info
        { };
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777) : 0;
    }

    TempConfigDir m_config;

private slots:
    void init() { m_config.reset(); }

    void keptInAPrivateFile()
    {
        SecretStore store;
        QCOMPARE(store.backend(), SecretStore::Backend::File);
        QVERIFY(store.warning().contains(SecretStore::filePath()));
        QVERIFY(SecretStore::filePath().startsWith(m_config.path()));

        QString error;
        QCOMPARE(store.read(u"ftp:/a"_s, &error), std::optional<QString>(QString()));
        QVERIFY(store.write(u"ftp:/a"_s, u"tit\"ok ő"_s, &error));
        QVERIFY(store.write(u"ftp:/b"_s, u"másik"_s, &error));
        QCOMPARE(modeOf(SecretStore::filePath()), mode_t(0600));
        QCOMPARE(modeOf(QFileInfo(SecretStore::filePath()).path()), mode_t(0700));

        // Another copy of the program sees both, and each key keeps its own.
        SecretStore other;
        QCOMPARE(other.read(u"ftp:/a"_s, &error), std::optional<QString>(u"tit\"ok ő"_s));
        QCOMPARE(other.read(u"ftp:/b"_s, &error), std::optional<QString>(u"másik"_s));
        QVERIFY(other.remove(u"ftp:/a"_s, &error));
        QVERIFY(other.remove(u"ftp:/nincs"_s, &error));
        QCOMPARE(store.read(u"ftp:/a"_s, &error), std::optional<QString>(QString()));
        QCOMPARE(store.read(u"ftp:/b"_s, &error), std::optional<QString>(u"másik"_s));

        // A copy put back with looser rights is closed again when it is read.
        QVERIFY(::chmod(QFile::encodeName(SecretStore::filePath()).constData(), 0644) == 0);
        QCOMPARE(store.read(u"ftp:/b"_s, &error), std::optional<QString>(u"másik"_s));
        QCOMPARE(modeOf(SecretStore::filePath()), mode_t(0600));
    }

    void damagedOrBlockedFile()
    {
        SecretStore store;
        QString error;
        QVERIFY(QDir().mkpath(QFileInfo(SecretStore::filePath()).path()));
        QFile file(SecretStore::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{ nem json");
        file.close();
        QCOMPARE(store.read(u"k"_s, &error), std::nullopt);
        QVERIFY2(error.contains(u"sérült"_s), qPrintable(error));
        // Nothing overwrites a damaged file, which may still hold other secrets.
        QVERIFY(!store.write(u"k"_s, u"v"_s, &error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("{ nem json"));
        file.close();

        // A file where the folder should be.
        QVERIFY(QDir(m_config.path()).removeRecursively());
        QVERIFY(QDir().mkpath(m_config.path()));
        QFile blocker(m_config.path() + u"/Pelmora"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        error.clear();
        QVERIFY(!store.write(u"k"_s, u"v"_s, &error));
        QVERIFY(error.contains(u"nem írható"_s));
    }

    // With no session bus the choice falls on the file at once, without waiting for one.
    void noDesktopSessionMeansFile()
    {
        qunsetenv("PELMORA_SECRETS");
        const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        SecretStore store;
        QCOMPARE(store.backend(), SecretStore::Backend::File);
        QVERIFY(!store.warning().isEmpty());
        QString error;
        QVERIFY(store.write(u"k"_s, u"v"_s, &error));
        QCOMPARE(store.read(u"k"_s, &error), std::optional<QString>(u"v"_s));
        if (!bus.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    }
};

QTEST_GUILESS_MAIN(TestSecretStore)
#include "test_secretstore.moc"
