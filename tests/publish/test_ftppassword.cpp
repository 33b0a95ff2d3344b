#include "publish/ftppassword.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/secretstore.h"
#include "store/tables.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/configdir.h"
#include "tests/support/tempdatadir.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The FTP password leaves the settings record for the secret store, once, and nothing is lost
// on the way.
class TestFtpPassword : public QObject
{
    Q_OBJECT

private:
    TempConfigDir m_config;

    static QByteArray secretFile()
    {
        QFile file(SecretStore::filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() { m_config.reset(); }

    void movedOnceAndBlanked()
    {
        TempDataDir data;
        Database db(data.path());
        Cursor defaults(db, tables::defaults, false);
        setSettings(defaults, {{u"Ftppass"_s, u"regi-jelszo"_s}, {u"Userid"_s, u"ag01"_s}});

        SecretStore store;
        QString error;
        QVERIFY(ftppassword::migrate(defaults, store, &error));
        QCOMPARE(defaults.text(u"Ftppass"_s), QString());
        QCOMPARE(defaults.text(u"Userid"_s), u"ag01"_s);
        QVERIFY(secretFile().contains("regi-jelszo"));
        // The table on disk no longer holds it either.
        Cursor fresh(db, tables::defaults, false);
        QCOMPARE(fresh.text(u"Ftppass"_s), QString());
        QCOMPARE(ftppassword::read(fresh, store, &error), std::optional<QString>(u"regi-jelszo"_s));

        // Changed and cleared through the store; the record stays blank.
        QVERIFY(ftppassword::write(defaults, store, u"uj"_s, &error));
        QCOMPARE(ftppassword::read(defaults, store, &error), std::optional<QString>(u"uj"_s));
        QVERIFY(ftppassword::write(defaults, store, QString(), &error));
        QCOMPARE(ftppassword::read(defaults, store, &error), std::optional<QString>(QString()));
        QVERIFY(!secretFile().contains("uj"));
        QCOMPARE(defaults.text(u"Ftppass"_s), QString());

        // Another register keeps a password of its own.
        TempDataDir otherData;
        Database other(otherData.path());
        Cursor otherDefaults(other, tables::defaults, false);
        setSettings(otherDefaults, {{u"Ftppass"_s, u"masik"_s}});
        QCOMPARE(ftppassword::read(otherDefaults, store, &error),
                 std::optional<QString>(u"masik"_s));
        QCOMPARE(ftppassword::read(defaults, store, &error), std::optional<QString>(QString()));
    }

    // A store that will not take the password leaves it in the record rather than lose it.
    void keptWhenTheStoreRefuses()
    {
        TempDataDir data;
        Database db(data.path());
        Cursor defaults(db, tables::defaults, false);
        setSettings(defaults, {{u"Ftppass"_s, u"regi-jelszo"_s}});
        QFile blocker(m_config.path() + u"/Pelmora"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        SecretStore store;
        QString error;
        QVERIFY(!ftppassword::migrate(defaults, store, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ftppassword::read(defaults, store, &error), std::nullopt);
        QCOMPARE(Cursor(db, tables::defaults, false).text(u"Ftppass"_s), u"regi-jelszo"_s);
    }
};

QTEST_GUILESS_MAIN(TestFtpPassword)
#include "test_ftppassword.moc"
