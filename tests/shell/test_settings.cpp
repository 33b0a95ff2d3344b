#include "publish/ftppassword.h"
#include "publish/ftpsecurity.h"
#include "shell/askftp.h"
#include "shell/reg.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/datadirectory.h"
#include "store/secretstore.h"
#include "store/tables.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/guardedtestmain.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

// The two settings windows driven through their controls, against the one settings record.
class TestSettings : public QObject
{
    Q_OBJECT

private:
    template<typename T>
    static T *child(QWidget *window, const char *name)
    {
        return ::control<T>(window, name);
    }

    static void retype(QLineEdit *edit, const QString &text) { retypeText(edit, text); }

    // A new register whose settings record already names an agency.
    struct StoredSettings
    {
        StoredSettings()
        {
            datadirectory::prepare(db);
            defaults.open();
            defaults.edit();
            defaults.setValue(QStringLiteral("Name"), QStringLiteral("Régi Iroda"));
            defaults.post();
        }
        TempDataDir dir;
        Database db {dir.path(), datadirectory::seed};
        Cursor defaults {db, tables::defaults, false};
    };

private slots:
    void settingsPagesSaveSeparately()
    {
        StoredSettings fixture;
        Cursor &defaults = fixture.defaults;

        DialogAnswerer answerer;
        answerer.handle([](QWidget *w) {
            QCOMPARE(child<QTabWidget>(w, "PageControl1")->currentIndex(), 0);
            QCOMPARE(child<QLineEdit>(w, "Edit1")->text(), QStringLiteral("Régi Iroda"));
            retype(child<QLineEdit>(w, "Edit1"), QStringLiteral("Ház és Otthon Kft."));
            retype(child<QLineEdit>(w, "Edit4"), QStringLiteral("+36 1 234 5678"));
            child<QComboBox>(w, "Megye")->setCurrentText(QStringLiteral("Budapest"));
            child<QPushButton>(w, "BitBtn1")->click();
            // Typed on page two but not saved there: offered at closing, and lost when declined.
            child<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
            child<QPlainTextEdit>(w, "bElvitel")->setPlainText(QStringLiteral("nem mentett"));
            w->close();
        });
        answerer.answer(QStringLiteral("Mégsem"));
        {
            TfReg reg(defaults);
            reg.exec();
        }
        QCOMPARE(defaults.text(QStringLiteral("Name")), QStringLiteral("Ház és Otthon Kft."));
        QCOMPARE(defaults.text(QStringLiteral("Telefon")), QStringLiteral("+36 1 234 5678"));
        QCOMPARE(defaults.text(QStringLiteral("Megye")), QStringLiteral("Budapest"));
        QCOMPARE(defaults.text(QStringLiteral("Elvitel")), QString());
        QCOMPARE(defaults.number(QStringLiteral("Version")), 3.0);

        answerer.handle([](QWidget *w) {
            child<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
            child<QPlainTextEdit>(w, "bElvitel")
                ->setPlainText(QStringLiteral("Első sor\nMásodik sor"));
            child<QPushButton>(w, "BitBtn3")->click();
            // Page one emptied and saved: empty values, no message.
            child<QTabWidget>(w, "PageControl1")->setCurrentIndex(0);
            for (const char *edit :
                 {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8"})
                child<QLineEdit>(w, edit)->clear();
            child<QComboBox>(w, "Megye")->setCurrentText(QString());
            child<QPushButton>(w, "BitBtn1")->click();
            w->close();
        });
        {
            TfReg reg(defaults);
            reg.exec();
        }
        QCOMPARE(answerer.seen().size(), 3); // the question at the first closing, nothing more
        QCOMPARE(answerer.seen().value(1), QStringLiteral("Menti a változásokat?"));
        QCOMPARE(defaults.text(QStringLiteral("Elvitel")),
                 QStringLiteral("Első sor\r\nMásodik sor"));
        QCOMPARE(defaults.text(QStringLiteral("Name")), QString());
        QCOMPARE(defaults.recordCount(), 1);
    }

    void typedSettingsAreNeverDroppedSilently()
    {
        TempDataDir dir;
        Database db(dir.path(), datadirectory::seed);
        datadirectory::prepare(db);
        Cursor defaults(db, tables::defaults, false);
        defaults.open();
        const QString question = QStringLiteral("Menti a változásokat?");
        auto switchPage = [](QWidget *w, int page) {
            auto *pages = child<QTabWidget>(w, "PageControl1");
            QTabBar *bar = pages->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
            QCOMPARE(pages->currentIndex(), page);
        };

        // Page one filled, page two's "Rögzít" pressed: page one is offered when it is left.
        DialogAnswerer answerer;
        answerer.handle([&](QWidget *w) {
            retype(child<QLineEdit>(w, "Edit1"), QStringLiteral("Első Iroda"));
            answerer.answer(QStringLiteral("OK"));
            switchPage(w, 1);
            QCOMPARE(defaults.text(QStringLiteral("Name")), QStringLiteral("Első Iroda"));
            typeText(child<QPlainTextEdit>(w, "bElvitel"), QStringLiteral("Csak előleg után."));
            QTest::mouseClick(child<QPushButton>(w, "BitBtn3"), Qt::LeftButton);
            // Nothing unsaved now: switching back and forth asks nothing.
            switchPage(w, 0);
            switchPage(w, 1);
            // Declined at leaving: the text stays typed, and closing offers it again.
            typeText(child<QPlainTextEdit>(w, "bElvitel"), QStringLiteral(" Telefonon."));
            answerer.answer(QStringLiteral("Mégsem"));
            switchPage(w, 0);
            retype(child<QLineEdit>(w, "Edit2"), QStringLiteral("Kovács Éva"));
            answerer.answer(QStringLiteral("OK"));
            w->close();
        });
        {
            TfReg reg(defaults);
            reg.exec();
        }
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(answerer.seen().mid(1), (QStringList {question, question, question}));
        QCOMPARE(defaults.text(QStringLiteral("Contact")), QStringLiteral("Kovács Éva"));
        QCOMPARE(defaults.text(QStringLiteral("Elvitel")),
                 QStringLiteral("Csak előleg után. Telefonon."));

        // A window closed as it was opened asks nothing.
        answerer.handle([](QWidget *w) { w->close(); });
        {
            TfReg reg(defaults);
            reg.exec();
        }
        QCOMPARE(answerer.seen().size(), 5);
        QCOMPARE(answerer.pending(), 0);
    }

    // A settings table that fails under the window: each "Rögzít" says so, the record keeps
    // what is stored, the boxes what was typed, and a later "Rögzít" stores it.
    void savingIntoAFailingTable()
    {
        StoredSettings fixture;
        Database &db = fixture.db;
        Cursor &defaults = fixture.defaults;

        TfReg reg(defaults);
        reg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reg));
        auto *name = child<QLineEdit>(&reg, "Edit1");
        auto *terms = child<QPlainTextEdit>(&reg, "bElvitel");
        db.exec(QStringLiteral("ALTER TABLE defaults RENAME TO defaults_el"));

        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        retype(name, QStringLiteral("Új Iroda"));
        QTest::mouseClick(child<QPushButton>(&reg, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(answerer.lastSeen().startsWith(QStringLiteral("Adatbázis hiba")));
        QCOMPARE(defaults.state(), Cursor::State::Browse);
        QCOMPARE(defaults.text(QStringLiteral("Name")), QStringLiteral("Régi Iroda"));
        QCOMPARE(name->text(), QStringLiteral("Új Iroda"));

        // Leaving the page offers to save what is still unsaved; declined, it stays typed.
        answerer.answer(QStringLiteral("Mégsem"));
        child<QTabWidget>(&reg, "PageControl1")->setCurrentIndex(1);
        QCOMPARE(answerer.lastSeen(), QStringLiteral("Menti a változásokat?"));
        answerer.answer(QStringLiteral("OK"));
        terms->setPlainText(QStringLiteral("Csak személyesen"));
        QTest::mouseClick(child<QPushButton>(&reg, "BitBtn3"), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 3);
        QVERIFY(answerer.lastSeen().startsWith(QStringLiteral("Adatbázis hiba")));
        QCOMPARE(defaults.state(), Cursor::State::Browse);
        QVERIFY(reg.isVisible());

        db.exec(QStringLiteral("ALTER TABLE defaults_el RENAME TO defaults"));
        QTest::mouseClick(child<QPushButton>(&reg, "BitBtn3"), Qt::LeftButton);
        child<QTabWidget>(&reg, "PageControl1")->setCurrentIndex(0);
        QTest::mouseClick(child<QPushButton>(&reg, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 3);
        Cursor stored(db, tables::defaults, false);
        stored.open();
        QCOMPARE(stored.text(QStringLiteral("Name")), QStringLiteral("Új Iroda"));
        QCOMPARE(stored.text(QStringLiteral("Elvitel")), QStringLiteral("Csak személyesen"));
    }

    void ftpServerDialog()
    {
        TempDataDir dir;
        Database db(dir.path(), datadirectory::seed);
        datadirectory::prepare(db);
        Cursor defaults(db, tables::defaults, false);
        defaults.open();

        DialogAnswerer answerer;
        answerer.handle([&answerer](QWidget *w) {
            QVERIFY(child<QLineEdit>(w, "Edit1")->hasFocus());
            QCOMPARE(child<QLineEdit>(w, "eFtppass")->echoMode(), QLineEdit::Password);
            // No secret service in a test run: the dialog says where the password goes.
            QLabel *warning = child<QLabel>(w, "lJelszoFigyelem");
            QVERIFY(warning->isVisible());
            QVERIFY(warning->text().contains(SecretStore::filePath()));
            answerer.answer(QStringLiteral("OK")); // "A mező üres!"
            child<QPushButton>(w, "BitBtn1")->click();
            QVERIFY(w->isVisible());
            retype(child<QLineEdit>(w, "Edit1"), QStringLiteral("   "));
            retype(child<QLineEdit>(w, "eUserid"), QStringLiteral("AG1234567"));
            retype(child<QLineEdit>(w, "eFtppass"), QStringLiteral("titok"));
            child<QPushButton>(w, "BitBtn1")->click();
        });
        {
            TfFtp ftp(defaults);
            QCOMPARE(ftp.exec(), int(QDialog::Accepted));
        }
        QCOMPARE(answerer.seen().value(1), QStringLiteral("A mező üres!"));
        QCOMPARE(defaults.text(QStringLiteral("Ftpserver")),
                 QStringLiteral("   ")); // blanks count as text
        QCOMPARE(defaults.text(QStringLiteral("Userid")), QStringLiteral("AG1234"));
        QCOMPARE(defaults.text(QStringLiteral("Ftppass")), QString());
        SecretStore secrets;
        QString error;
        QCOMPARE(ftppassword::read(defaults, secrets, &error),
                 std::optional<QString>(QStringLiteral("titok")));

        answerer.handle([](QWidget *w) {
            retype(child<QLineEdit>(w, "Edit1"), QStringLiteral("ftp.example.hu"));
            child<QPushButton>(w, "BitBtn2")->click();
        });
        {
            TfFtp ftp(defaults);
            QCOMPARE(ftp.exec(), int(QDialog::Rejected));
        }
        QCOMPARE(defaults.text(QStringLiteral("Ftpserver")), QStringLiteral("   "));
        QVERIFY(!FtpSecurity::read(db).tls);
    }

    // FTPS is chosen in the dialog; the trusted certificate is shown for its own server and
    // forgotten when the server changes.
    void ftpsChoice()
    {
        TempDataDir dir;
        Database db(dir.path(), datadirectory::seed);
        datadirectory::prepare(db);
        Cursor defaults(db, tables::defaults, false);
        defaults.open();
        defaults.edit();
        defaults.setValue(QStringLiteral("Ftpserver"), QStringLiteral("ftp.portal.hu"));
        defaults.post();
        FtpSecurity trusted;
        trusted.server = QStringLiteral("ftp.portal.hu");
        trusted.pinnedKey = QStringLiteral("sha256//kulcs=");
        trusted.fingerprint = QStringLiteral("AB:CD");
        trusted.write(db);

        DialogAnswerer answerer;
        answerer.handle([](QWidget *w) {
            auto *ftps = child<QCheckBox>(w, "cbFtps");
            QCOMPARE(ftps->text(), QStringLiteral("Titkosított kapcsolat (FTPS)"));
            QVERIFY(!ftps->isChecked());
            QVERIFY(child<QLabel>(w, "lUjjlenyomat")->text().contains(QStringLiteral("AB:CD")));
            ftps->setChecked(true);
            child<QPushButton>(w, "BitBtn1")->click();
        });
        {
            TfFtp ftp(defaults);
            QCOMPARE(ftp.exec(), int(QDialog::Accepted));
        }
        FtpSecurity stored = FtpSecurity::read(db);
        QVERIFY(stored.tls);
        QCOMPARE(stored.keyFor(QStringLiteral("ftp.portal.hu")), QStringLiteral("sha256//kulcs="));

        answerer.handle([](QWidget *w) {
            QVERIFY(child<QCheckBox>(w, "cbFtps")->isChecked());
            retype(child<QLineEdit>(w, "Edit1"), QStringLiteral("ftp.masik.hu"));
            child<QPushButton>(w, "BitBtn1")->click();
        });
        {
            TfFtp ftp(defaults);
            QCOMPARE(ftp.exec(), int(QDialog::Accepted));
        }
        stored = FtpSecurity::read(db);
        QVERIFY(stored.tls);
        QCOMPARE(stored.pinnedKey, QString());
        QCOMPARE(stored.fingerprint, QString());
    }
};

PELMORA_GUARDED_TEST_MAIN(TestSettings)
#include "test_settings.moc"
