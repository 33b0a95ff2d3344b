#include "shell/kapcsolat.h"
#include "store/connectionsetting.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/photostore.h"
#include "store/secretstore.h"
#include "store/tables.h"
#include "tests/support/configdir.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/testserver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// The connection window as a user fills it in: a server tried before it is kept, and what is
// kept read back by the next start.
class TestKapcsolat : public QObject
{
    Q_OBJECT

    TempConfigDir m_config;

private slots:
    void init() { m_config.reset(); }

    void serverIsTriedAndKept()
    {
        TfKapcsolat window;
        DialogAnswerer answerer;
        bool saved = true;
        answerer.handle(
            [&](QWidget *shown) {
                // The embedded register is the first choice, and nothing of a server is asked.
                QVERIFY(control<QRadioButton>(shown, "rbBeepitett")->isChecked());
                QVERIFY(!control<QLineEdit>(shown, "eGep")->isEnabled());
                control<QRadioButton>(shown, "rbSzerver")->click();
                QVERIFY(control<QLineEdit>(shown, "eGep")->isEnabled());

                // Nothing listens on this port: the try says the server cannot be reached.
                QTcpServer closed;
                QVERIFY(closed.listen(QHostAddress::LocalHost));
                const int port = closed.serverPort();
                closed.close();
                control<QLineEdit>(shown, "eGep")->setText(QStringLiteral("127.0.0.1"));
                control<QSpinBox>(shown, "ePort")->setValue(port);
                control<QLineEdit>(shown, "eAdatbazis")->setText(QStringLiteral("iroda"));
                control<QLineEdit>(shown, "eFelhasznalo")->setText(QStringLiteral("anna"));
                control<QLineEdit>(shown, "eJelszo")->setText(QStringLiteral("titok 1"));
                auto *ssl = control<QComboBox>(shown, "cbTitkositas");
                ssl->setCurrentIndex(ssl->findData(QStringLiteral("verify-full")));
                control<QPushButton>(shown, "btProba")->click();
                const QString answer = control<QLabel>(shown, "lValasz")->text();
                QVERIFY2(answer.contains(QStringLiteral("a szerver nem érhető el")),
                         qPrintable(answer));
                QVERIFY(!answer.contains(QStringLiteral("titok")));
                control<QPushButton>(shown, "btRendben")->click();
            },
            QStringLiteral("fKapcsolat"));
        saved = window.edit();
        QVERIFY(saved);

        const connectionsetting::Setting kept = connectionsetting::load();
        QVERIFY(kept.server);
        QCOMPARE(kept.host, QStringLiteral("127.0.0.1"));
        QCOMPARE(kept.database, QStringLiteral("iroda"));
        QCOMPARE(kept.user, QStringLiteral("anna"));
        QCOMPARE(kept.sslMode, QStringLiteral("verify-full"));
        // The password is in the secret store, never in the configuration file.
        QString error;
        QCOMPARE(SecretStore().read(connectionsetting::passwordKey(kept), &error),
                 std::optional<QString>(QStringLiteral("titok 1")));
        QFile configuration(m_config.path() + QStringLiteral("/Pelmora/Pelmora.conf"));
        QVERIFY(configuration.open(QIODevice::ReadOnly));
        QVERIFY(!configuration.readAll().contains("titok"));
        qunsetenv("PELMORA_DB");
        QVERIFY(
            connectionsetting::effectiveAddress().contains(QStringLiteral("password='titok 1'")));
    }

    // A server without a name is not kept; going back to the embedded register is.
    void incompleteServerIsRefused()
    {
        TfKapcsolat window;
        DialogAnswerer answerer;
        answerer.handle(
            [&](QWidget *shown) {
                control<QRadioButton>(shown, "rbSzerver")->click();
                control<QLineEdit>(shown, "eGep")->clear();
                control<QPushButton>(shown, "btRendben")->click();
            },
            QStringLiteral("fKapcsolat"));
        answerer.answer(QStringLiteral("OK"));
        answerer.handle(
            [&](QWidget *shown) {
                QVERIFY(shown->isVisible());
                control<QRadioButton>(shown, "rbBeepitett")->click();
                control<QPushButton>(shown, "btRendben")->click();
            },
            QStringLiteral("fKapcsolat"));
        window.edit();
        QVERIFY(answerer.seen().contains(QStringLiteral("Adja meg a szerver nevét vagy címét!")));
        QVERIFY(!connectionsetting::load().server);
    }

    // The embedded register moved onto an empty server database through the window, the
    // workstation switched to it; a second move into the same database is refused.
    void movingOntoTheServer()
    {
        if (!testserver::active())
            QSKIP("needs the office server");
        QTemporaryDir dir;
        Database local(dir.path() + QStringLiteral("/"), datadirectory::seed, QString());
        datadirectory::prepare(local);
        Cursor egyszeru(local, tables::egyszeru, true);
        egyszeru.open();
        egyszeru.append();
        egyszeru.setValue(QStringLiteral("Azonosito"), QStringLiteral("ÁT-1"));
        egyszeru.setValue(QStringLiteral("Kep1"), QStringLiteral("1-1.jpg"));
        egyszeru.post();
        QFile photo(datadirectory::imagesDir(local.dataDir()) + QStringLiteral("1-1.jpg"));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write("\xff\xd8 kép");
        photo.close();

        const QString name = testserver::createDatabase();
        auto drop = qScopeGuard([&name] { testserver::dropDatabase(name); });
        const QUrl admin(testserver::adminUri());
        const auto fillIn = [&](QWidget *shown) {
            QVERIFY(!control<QRadioButton>(shown, "rbBeepitett")->isEnabled());
            control<QLineEdit>(shown, "eGep")->setText(admin.host());
            control<QSpinBox>(shown, "ePort")->setValue(admin.port());
            control<QLineEdit>(shown, "eAdatbazis")->setText(name);
            control<QLineEdit>(shown, "eFelhasznalo")->setText(admin.userName());
            control<QLineEdit>(shown, "eJelszo")->setText(admin.password());
            control<QComboBox>(shown, "cbTitkositas")->setCurrentIndex(0);
            control<QPushButton>(shown, "btRendben")->click();
        };
        {
            TfKapcsolat window;
            DialogAnswerer answerer;
            answerer.handle(fillIn, QStringLiteral("fKapcsolat"));
            answerer.answerIn(QStringLiteral("fKerdes"), QStringLiteral("OK"));
            answerer.answerIn(QStringLiteral("fUzenet"), QStringLiteral("OK"));
            QVERIFY(window.migrate(local));
            QVERIFY2(answerer.lastSeen().contains(QStringLiteral("1 ingatlan, 1 fénykép")),
                     qPrintable(answerer.lastSeen()));
        }
        const connectionsetting::Setting kept = connectionsetting::load();
        QVERIFY(kept.server);
        QCOMPARE(kept.database, name);
        {
            Database server(dir.path() + QStringLiteral("/"), datadirectory::seed,
                            testserver::uriFor(name));
            Cursor moved(server, tables::egyszeru, true);
            moved.open();
            QCOMPARE(moved.recordCount(), 1);
            QCOMPARE(moved.text(QStringLiteral("Azonosito")), QStringLiteral("ÁT-1"));
            QFile copy(photostore::localFile(server, QStringLiteral("1-1.jpg")));
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), QByteArray("\xff\xd8 kép"));
        }

        TfKapcsolat again;
        DialogAnswerer answerer;
        answerer.handle(fillIn, QStringLiteral("fKapcsolat"));
        answerer.answerIn(QStringLiteral("fKerdes"), QStringLiteral("OK"));
        answerer.handle(
            [&again](QWidget *shown) {
                control<QPushButton>(shown, "BitBtn1")->click();
                QTimer::singleShot(0, &again, &QDialog::reject);
            },
            QStringLiteral("fUzenet"));
        QVERIFY(!again.migrate(local));
        QVERIFY2(answerer.seen()
                     .join(QLatin1Char(' '))
                     .contains(QStringLiteral("már van nyilvántartás")),
                 qPrintable(answerer.seen().join(QLatin1Char(' '))));
    }
};

QTEST_MAIN(TestKapcsolat)
#include "test_kapcsolat.moc"
