#include "store/connectionsetting.h"
#include "store/cp1250.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/schema.h"
#include "store/server.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// The office server as a workstation meets it: reaching it (or being told clearly why not),
// TLS as the office requires it, and a server database of another program's layout.
class TestServer : public QObject
{
    Q_OBJECT

    static QUrl admin() { return QUrl(testserver::adminUri()); }
    static QString clusterFile(const QString &name)
    {
        return QFileInfo(qEnvironmentVariable("PELMORA_TEST_SERVER_FILE")).absolutePath() +
            QLatin1Char('/') + name;
    }
    static QString openError(const QString &uri)
    {
        TempDataDir data;
        return errorOf([&] { Database db(data.path(), {}, uri); });
    }

    // The user's configuration of this run alone: the saved connection setting must not reach
    // the suites that run beside it.
    QTemporaryDir m_configuration;

private slots:
    void initTestCase()
    {
        QVERIFY2(testserver::active(), "runs on the office server only");
        qputenv("XDG_CONFIG_HOME", m_configuration.path().toUtf8());
    }

    // A wrong password, a missing database and a server that is not there each name their
    // cause, and never say more of the password than the user typed.
    void connectionFailuresNameTheCause()
    {
        TempDataDir data;
        QUrl wrong = admin();
        wrong.setPath(QLatin1Char('/') + data.serverDatabase());
        wrong.setPassword(QStringLiteral("rossz-jelszo"));
        QString error = openError(wrong.toString());
        QVERIFY2(error.contains(QStringLiteral("hibás jelszó vagy felhasználónév")),
                 qPrintable(error));
        QVERIFY(!error.contains(QStringLiteral("rossz-jelszo")));
        QVERIFY(error.contains(QStringLiteral("pelmora@127.0.0.1")));

        QUrl missing = admin();
        missing.setPath(QStringLiteral("/nincs_ilyen_adatbazis"));
        error = openError(missing.toString());
        QVERIFY2(error.contains(QStringLiteral("ilyen adatbázis nincs a szerveren")),
                 qPrintable(error));

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QUrl nowhere = admin();
        nowhere.setPort(port);
        error = openError(nowhere.toString());
        QVERIFY2(error.contains(QStringLiteral("a szerver nem érhető el")), qPrintable(error));

        error = openError(QStringLiteral("postgresql://[nem-uri"));
        QVERIFY2(error.startsWith(QStringLiteral("Az adatbázis-szerver címe hibás")),
                 qPrintable(error));
    }

    // The workstation's saved setting, with a password libpq has to have quoted, reaches the
    // server; what it names is kept in the user's configuration, the password apart from it.
    void savedSettingReachesTheServer()
    {
        TempDataDir data;
        const QString password = QStringLiteral("sző k'e\\jelszó");
        QString quotedPassword = password;
        quotedPassword.replace(QLatin1Char('\''), QStringLiteral("''"));
        testserver::run(data.serverDatabase(),
                        QStringLiteral("CREATE ROLE agent_%1 LOGIN SUPERUSER PASSWORD '%2'")
                            .arg(data.serverDatabase(), quotedPassword));
        connectionsetting::Setting setting;
        setting.server = true;
        setting.host = QStringLiteral("127.0.0.1");
        setting.port = admin().port();
        setting.database = data.serverDatabase();
        setting.user = QStringLiteral("agent_") + data.serverDatabase();
        setting.sslMode = QStringLiteral("require");
        QCOMPARE(connectionsetting::problem(setting), QString());
        connectionsetting::save(setting);
        QCOMPARE(connectionsetting::load(), setting);

        Database db(data.path(), datadirectory::seed,
                    connectionsetting::address(connectionsetting::load(), password));
        QVERIFY(db.isServer());
        QCOMPARE(server::describe(db.server()),
                 QStringLiteral("%1@127.0.0.1:%2/%3")
                     .arg(setting.user)
                     .arg(setting.port)
                     .arg(setting.database));
        QSqlQuery who = db.query(QStringLiteral("SELECT current_user, ssl FROM pg_stat_ssl JOIN "
                                                "pg_stat_activity USING (pid) WHERE pid = "
                                                "pg_backend_pid()"));
        QVERIFY(who.next());
        QCOMPARE(who.value(0).toString(), setting.user);
        QVERIFY(who.value(1).toBool());

        // A script's PELMORA_DB comes before the saved setting; the embedded one names none.
        QCOMPARE(connectionsetting::effectiveAddress(), qEnvironmentVariable("PELMORA_DB"));
        setting.host.clear();
        QCOMPARE(connectionsetting::problem(setting),
                 QStringLiteral("Adja meg a szerver nevét vagy címét!"));
        setting.server = false;
        connectionsetting::save(setting);
        QCOMPARE(connectionsetting::address(setting, password), QString());
    }

    // A role the office admits over TLS only: refused in the clear, admitted with the office's
    // CA verified, refused when the certificate is not the office's.
    void tlsRequiredAndVerified()
    {
        TempDataDir data;
        QUrl tls = admin();
        tls.setUserName(QStringLiteral("pelmora_tls"));
        tls.setHost(QStringLiteral("localhost"));
        tls.setPath(QLatin1Char('/') + data.serverDatabase());

        QUrl clear = tls;
        clear.setQuery(QStringLiteral("sslmode=disable"));
        QString error = openError(clear.toString());
        QVERIFY2(error.contains(QStringLiteral("csak titkosított (TLS) kapcsolatot")),
                 qPrintable(error));

        QUrl stranger = tls;
        stranger.setQuery(QStringLiteral("sslmode=verify-full&sslrootcert=") +
                          clusterFile(QStringLiteral("other-ca.crt")));
        error = openError(stranger.toString());
        QVERIFY2(error.contains(QStringLiteral("tanúsítvány")), qPrintable(error));

        QUrl verified = tls;
        verified.setQuery(QStringLiteral("sslmode=verify-full&sslrootcert=") +
                          clusterFile(QStringLiteral("ca.crt")));
        Database db(data.path(), datadirectory::seed, verified.toString());
        QVERIFY(db.isServer());
        QSqlQuery query = db.query(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = "
                                                  "pg_backend_pid()"));
        QVERIFY(query.next());
        QVERIFY(query.value(0).toBool());
        Cursor settings(db, tables::defaults, false);
        QCOMPARE(settings.recordCount(), 1);
    }

    // A server made by a later program is refused whole; one of an earlier layout is brought
    // up to this one in place.
    void layoutsOfOtherPrograms()
    {
        TempDataDir data;
        {
            Database db(data.path(), datadirectory::seed);
            QVERIFY(db.createdNow());
            QCOMPARE(schema::layoutOf(db), tables::layoutVersion);
        }
        testserver::run(data.serverDatabase(),
                        QStringLiteral("UPDATE pelmora_elrendezes SET \"Valtozat\" = %1")
                            .arg(tables::layoutVersion + 1));
        const QString error = errorOf([&] { Database db(data.path()); });
        QVERIFY2(error.startsWith(QStringLiteral("Az adatbázist a program egy újabb változata "
                                                 "készítette")),
                 qPrintable(error));

        QString drop;
        for (const TableDef &table : tables::all())
            drop += QStringLiteral("ALTER TABLE \"%1\" DROP COLUMN rowversion;").arg(table.name);
        // A layout-3 server had neither save counts nor its photos in the database.
        testserver::run(data.serverDatabase(),
                        drop + QStringLiteral("DROP TABLE %1;").arg(tables::kepadat) +
                            QStringLiteral("UPDATE pelmora_elrendezes SET \"Valtozat\" = 3"));
        Database db(data.path());
        QCOMPARE(schema::layoutOf(db), tables::layoutVersion);
        QVERIFY(db.connection().record(tables::egyszeru).indexOf(tables::rowVersionColumn) >= 0);
        QVERIFY(db.connection().tables().contains(tables::kepadat));
        Cursor settings(db, tables::defaults, false);
        QCOMPARE(settings.recordCount(), 1);
        settings.setValue(QStringLiteral("Name"), QStringLiteral("Iroda"));
        settings.post();
        QCOMPARE(settings.rowVersion(), 1);
    }

    // The office's set-up script makes the database and a role per agent; whichever agent
    // starts first makes the register, owned by the office's role, and the others work in it.
    void officeSetUpServesEveryAgent()
    {
        const QString name =
            QStringLiteral("iroda_") + QString::number(QCoreApplication::applicationPid());
        QProcess script;
        script.start(QStringLiteral("bash"),
                     {QStringLiteral(PELMORA_SCRIPTS_DIR "/office-server"),
                      QStringLiteral("--sql-only"), testserver::adminUri(),
                      QStringLiteral("--database"), name, QStringLiteral("anna_%1").arg(name),
                      QStringLiteral("bela_%1").arg(name)});
        QVERIFY(script.waitForFinished(120000));
        const QString output = QString::fromUtf8(script.readAllStandardOutput());
        QVERIFY2(script.exitCode() == 0,
                 qPrintable(output + QString::fromUtf8(script.readAllStandardError())));
        QHash<QString, QString> passwords;
        for (const QString &line : output.split(QLatin1Char('\n'))) {
            const QStringList words = line.simplified().split(QLatin1Char(' '));
            if (words.size() == 2 && words[0].endsWith(name))
                passwords.insert(words[0].section(QLatin1Char('_'), 0, 0), words[1]);
        }
        QCOMPARE(passwords.size(), 2);
        auto uriOf = [&](const QString &agent) {
            QUrl url = admin();
            url.setUserName(agent + QLatin1Char('_') + name);
            url.setPassword(passwords.value(agent));
            url.setPath(QLatin1Char('/') + name);
            return url.toString();
        };
        {
            TempDataDir anna;
            Database db(anna.path(), datadirectory::seed, uriOf(QStringLiteral("anna")));
            QVERIFY(db.createdNow());
            QSqlQuery owner = db.query(
                QStringLiteral("SELECT tableowner FROM pg_tables WHERE tablename = 'egyszeru'"));
            QVERIFY(owner.next());
            QCOMPARE(owner.value(0).toString(), name + QStringLiteral("_iroda"));
        }
        {
            TempDataDir bela;
            Database db(bela.path(), datadirectory::seed, uriOf(QStringLiteral("bela")));
            QVERIFY(!db.createdNow());
            Cursor properties(db, tables::egyszeru, true);
            properties.append();
            properties.setValue(QStringLiteral("Azonosito"), QStringLiteral("B-1"));
            properties.post();
            QCOMPARE(properties.recordCount(), 1);
        }
        testserver::dropDatabase(name);
    }

    // The server dies in the middle of a store: nothing of it stays, the user is told so, and
    // once the server is back the work goes on over a new connection. On a cluster of its own:
    // the run's cluster serves the other suites meanwhile.
    void lostServerDuringAStore()
    {
        const QString dir = QDir::tempPath() +
            QStringLiteral("/pelmora-pg-%1").arg(QCoreApplication::applicationPid());
        const QString script =
            qEnvironmentVariable("PELMORA_TEST_SUPPORT_DIR") + QStringLiteral("/pgcluster");
        auto cluster = [&](const QString &action) {
            QProcess run;
            run.start(QStringLiteral("bash"), {script, action, dir});
            return run.waitForFinished(120000) && run.exitCode() == 0;
        };
        QVERIFY(cluster(QStringLiteral("start")));
        const auto cleanup = qScopeGuard([&] {
            cluster(QStringLiteral("stop"));
            QDir(dir).removeRecursively();
        });
        QFile uriFile(dir + QStringLiteral("/uri"));
        QVERIFY(uriFile.open(QIODevice::ReadOnly));
        const QString uri = QString::fromUtf8(uriFile.readAll()).trimmed();

        TempDataDir data;
        Database db(data.path(), datadirectory::seed, uri);
        Cursor properties(db, tables::egyszeru, true);
        properties.append();
        properties.setValue(QStringLiteral("Azonosito"), QStringLiteral("A-1"));
        properties.post();
        const QString lost = QStringLiteral("A kapcsolat az adatbázis-szerverrel megszakadt");
        QString error;
        {
            Database::Transaction unit(db);
            properties.append();
            properties.setValue(QStringLiteral("Azonosito"), QStringLiteral("A-2"));
            properties.post();
            QVERIFY(cluster(QStringLiteral("kill")));
            error = errorOf([&] { unit.commit(); });
        }
        QVERIFY2(error.startsWith(lost), qPrintable(error));
        // Still away: said again, and nothing is done.
        error = errorOf([&] { Cursor(db, tables::egyszeru, true).recordCount(); });
        QVERIFY2(error.startsWith(lost), qPrintable(error));

        QVERIFY(cluster(QStringLiteral("restart")));
        Cursor after(db, tables::egyszeru, true);
        QCOMPARE(after.recordCount(), 1);
        QCOMPARE(after.text(QStringLiteral("Azonosito")), QStringLiteral("A-1"));
        after.append();
        after.setValue(QStringLiteral("Azonosito"), QStringLiteral("A-3"));
        after.post();
        QCOMPARE(after.recordCount(), 2);
        // Another workstation's commits are heard again on the new connection.
        TempDataDir otherData;
        Database other(otherData.path(), {}, uri);
        Cursor theirs(other, tables::egyszeru, true);
        theirs.append();
        theirs.setValue(QStringLiteral("Azonosito"), QStringLiteral("B-1"));
        theirs.post();
        QTRY_COMPARE_WITH_TIMEOUT(after.recordCount(), 3, 30000);
    }

    // The server folds every character a text can be stored with exactly as the program does,
    // so a case-blind filter finds the same records on both.
    void serverFoldsAsTheProgram()
    {
        TempDataDir data;
        Database db(data.path());
        for (int byte = 0x20; byte < 0x100; ++byte) {
            const QString character = cp1250::decode(QByteArray(1, char(byte)));
            QSqlQuery query = db.query(QStringLiteral("SELECT pelmora_fold(?)"), {character});
            QVERIFY(query.next());
            QCOMPARE(query.value(0).toString(), textformat::fold(character));
        }
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "test_server.moc"
