#include "buyers/erdeklodes.h"
#include "buyers/ujerdeklodes.h"
#include "print/printreports.h"
#include "publish/hirek.h"
#include "register/kepmegtekintes.h"
#include "register/modosit.h"
#include "register/ujkep.h"
#include "shell/main.h"
#include "shell/program.h"
#include "store/cursor.h"
#include "store/tables.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

// The side menu as a user clicks it: through the window, so that whatever lies on top of an
// entry is what the click reaches.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    static void clickEntry(TfMain *main, const char *entry)
    {
        auto *label = main->findChild<QLabel *>(QString::fromLatin1(entry));
        QVERIFY(label);
        const QPoint at = label->mapTo(main, label->rect().center());
        QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, at);
    }

    TempDataDir *m_dir = nullptr;
    Program *m_program = nullptr;
    TfMain *m_main = nullptr;

private slots:
    // Every case starts the program on a data directory of its own and shows the main window.
    void init()
    {
        m_dir = new TempDataDir;
        m_program = new Program;
        QVERIFY(m_program->start());
        m_program->show();
        m_main = m_program->main();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }

    void cleanup()
    {
        delete m_program;
        delete m_dir;
    }

    void coverBlocksTheMenuButNotQuit()
    {
        TfMain *main = m_main;
        main->setExitHandler([] {});

        clickEntry(main, "Label79");
        QVERIFY(main->panel(QStringLiteral("pSearch"))->isVisible());

        main->showDetailedDescription();
        QVERIFY(main->panel(QStringLiteral("pReszletes"))->isVisible());
        QVERIFY(!main->panel(QStringLiteral("pSearch"))->isVisible());
        for (const char *covered :
             {"Label78", "Label79", "Label80", "Label44", "Label2", "Label96"})
            clickEntry(main, covered);
        QVERIFY(main->panel(QStringLiteral("pReszletes"))->isVisible());
        QVERIFY(!main->backgroundShown());

        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("Nem"));
        clickEntry(main, "Label81");
        QCOMPARE(answerer.windows(), QStringList {QStringLiteral("fQuit")});

        main->hideDetailedDescription();
        QVERIFY(main->panel(QStringLiteral("pNew"))->isVisible());
        clickEntry(main, "Label79");
        QVERIFY(main->panel(QStringLiteral("pSearch"))->isVisible());
        QVERIFY(!main->panel(QStringLiteral("pNew"))->isVisible());
    }

    void modalWindowsLeaveTheBackground()
    {
        TfMain *main = m_main;

        clickEntry(main, "Label79");
        QVERIFY(!main->backgroundShown());
        DialogAnswerer answerer;
        QString licence;
        answerer.handle([&licence](QWidget *about) {
            licence = about->findChild<QPlainTextEdit *>()->toPlainText();
            about->close();
        });
        clickEntry(main, "Label96");
        QCOMPARE(answerer.windows(), QStringList {QStringLiteral("fAbout")});
        QVERIFY(licence.startsWith(QStringLiteral("Pelmora Ingatlan Nyilvántartási Szoftver")));
        QVERIFY(main->backgroundShown());

        clickEntry(main, "Label78");
        QVERIFY(main->panel(QStringLiteral("pNew"))->isVisible());
        answerer.handle([](QWidget *settings) { settings->close(); });
        clickEntry(main, "Label88");
        QCOMPARE(answerer.windows().last(), QStringLiteral("fReg"));
        QVERIFY(main->backgroundShown());
        QVERIFY(!main->panel(QStringLiteral("pNew"))->isVisible());

        // "Adatlap nyomtatás" prints the two blank sheets and leaves the panel on screen.
        const QString pdf = m_dir->filePath(QStringLiteral("adatlap.pdf"));
        m_program->windows().printReports->output.setPrinterFactory([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return printer;
        });
        clickEntry(main, "Label79");
        clickEntry(main, "Label104");
        QVERIFY(main->panel(QStringLiteral("pSearch"))->isVisible());
        QVERIFY(QFileInfo(pdf).size() > 0);
    }

    void storingAPropertyFlagsTheRequestsItFits()
    {
        TfMain *main = m_main;
        Cursor requests(*m_program->database(), tables::erdeklodes, false);
        for (const char *settlement : {"szeged", "Pécs"}) {
            requests.append();
            requests.setValue(QStringLiteral("Nev"), QStringLiteral("Vevő"));
            requests.setValue(QStringLiteral("Telepules"), QString::fromUtf8(settlement));
            requests.setValue(QStringLiteral("Artol"), 1000000);
            requests.setValue(QStringLiteral("Arig"), 50000000);
            requests.post();
        }

        clickEntry(main, "Label78");
        QWidget *pNew = main->panel(QStringLiteral("pNew"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nAzonosito")),
                   QStringLiteral("SZ-1"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nAr")), QStringLiteral("25000000"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nCimVaros")),
                   QStringLiteral("Szeged"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nCimMegye")),
                   QStringLiteral("Csongrád"));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        QTest::mouseClick(pNew->findChild<QPushButton *>(QStringLiteral("nRogzit")),
                          Qt::LeftButton);
        QCOMPARE(answerer.seen(),
                 QStringList {QStringLiteral("Az adat sikeresen rögzítésre került!")});

        requests.first();
        QVERIFY(requests.boolean(QStringLiteral("Utkozes")));
        requests.next();
        QVERIFY(!requests.boolean(QStringLiteral("Utkozes")));
        // The form is cleared for the next property.
        QCOMPARE(pNew->findChild<QLineEdit *>(QStringLiteral("nAzonosito"))->text(), QString());
    }

    void halfEnteredPropertyIsKeptUntilTheUserLetsItGo()
    {
        TfMain *main = m_main;
        main->setExitHandler([] {});
        QWidget *pNew = main->panel(QStringLiteral("pNew"));
        auto *identifier = pNew->findChild<QLineEdit *>(QStringLiteral("nAzonosito"));
        const QString question =
            QStringLiteral("A beírt, még nem rögzített adatok elvesznek. Folytatja?");
        DialogAnswerer answerer;

        // An empty form is cleared without a word, as before.
        clickEntry(main, "Label78");
        clickEntry(main, "Label78");
        QVERIFY(answerer.seen().isEmpty());

        // A look at the search panel and back: declining keeps what was typed.
        retypeText(identifier, QStringLiteral("FÉL-1"));
        clickEntry(main, "Label79");
        answerer.answer(QStringLiteral("Mégsem"));
        clickEntry(main, "Label78");
        QCOMPARE(answerer.seen(), QStringList {question});
        QVERIFY(pNew->isVisible());
        QCOMPARE(identifier->text(), QStringLiteral("FÉL-1"));

        // Closing the window or quitting asks too; declining leaves the program running.
        answerer.answer(QStringLiteral("Mégsem"));
        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        int exits = 0;
        main->setExitHandler([&exits] { ++exits; });
        answerer.answer(QStringLiteral("Igen"));
        answerer.answer(QStringLiteral("Mégsem"));
        clickEntry(main, "Label81");
        QCOMPARE(exits, 0);
        QCOMPARE(answerer.seen().size(), 4);
        QCOMPARE(answerer.windows().value(2), QStringLiteral("fQuit"));
        QCOMPARE(answerer.lastSeen(), question);
        QCOMPARE(identifier->text(), QStringLiteral("FÉL-1"));

        // "OK" lets it go and the form starts afresh.
        answerer.answer(QStringLiteral("OK"));
        clickEntry(main, "Label78");
        QCOMPARE(identifier->text(), QString());
        QCOMPARE(answerer.seen().size(), 5);

        // Only the detailed description was filled: that is input too.
        main->showDetailedDescription();
        auto *remark = main->panel(QStringLiteral("pReszletes"))
                           ->findChild<QPlainTextEdit *>(QStringLiteral("rMegjegyzes"));
        QVERIFY(remark);
        typeText(remark, QStringLiteral("Csendes utca"));
        main->hideDetailedDescription();
        answerer.answer(QStringLiteral("OK"));
        clickEntry(main, "Label78");
        QCOMPARE(answerer.seen().size(), 6);
        QCOMPARE(answerer.lastSeen(), question);
        QCOMPARE(remark->toPlainText(), QString());

        // A just-stored property asks nothing, and neither does quitting afterwards.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        retypeText(identifier, QStringLiteral("KÉSZ-1"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nAr")), QStringLiteral("25000000"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nCimVaros")),
                   QStringLiteral("Szeged"));
        retypeText(pNew->findChild<QWidget *>(QStringLiteral("nCimMegye")),
                   QStringLiteral("Csongrád"));
        answerer.answer(QStringLiteral("OK"));
        QTest::mouseClick(pNew->findChild<QPushButton *>(QStringLiteral("nRogzit")),
                          Qt::LeftButton);
        QCOMPARE(answerer.lastSeen(), QStringLiteral("Az adat sikeresen rögzítésre került!"));
        clickEntry(main, "Label78");
        answerer.answer(QStringLiteral("Igen"));
        clickEntry(main, "Label81");
        QCOMPARE(exits, 1);
        QCOMPARE(answerer.seen().size(), 8); // the store's message and the quit question
        QCOMPARE(answerer.pending(), 0);
    }

    void companyNameShowsAsSoonAsItIsStored()
    {
        TfMain *main = m_main;
        auto *name = main->findChild<QLabel *>(QStringLiteral("cegnev"));
        QVERIFY(name);
        QString shownWhileOpen;
        DialogAnswerer answerer;
        answerer.handle([&](QWidget *settings) {
            retypeText(settings->findChild<QLineEdit *>(QStringLiteral("Edit1")),
                       QStringLiteral("Új Otthon Kft."));
            QTest::mouseClick(settings->findChild<QPushButton *>(QStringLiteral("BitBtn1")),
                              Qt::LeftButton);
            shownWhileOpen = name->text();
            settings->close();
        });
        clickEntry(main, "Label88");
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(shownWhileOpen, QStringLiteral("Új Otthon Kft."));
        QCOMPARE(answerer.seen().size(), 1); // stored, so closing asked nothing
    }

    void aboutWithoutLicenceStillOpens()
    {
        QFile::remove(m_dir->filePath(QStringLiteral("licence.txt")));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK")); // the file error
        answerer.handle([](QWidget *about) { about->close(); });
        clickEntry(m_main, "Label96");
        QCOMPARE(answerer.windows().size(), 2);
        QVERIFY(answerer.seen().first().contains(QStringLiteral("licence.txt")));
        QCOMPARE(answerer.windows().last(), QStringLiteral("fAbout"));
    }
    // The long-lived windows are made when first opened, from their menu entries and buttons, as
    // the main window's own; the same window comes back at the next opening with what it held.
    // The program then ends with some of them made and some never made: each made one goes once.
    void windowsAreMadeOnFirstOpeningAndKept()
    {
        Windows &w = m_program->windows();
        for (const char *name : {"fHirek", "fErdeklodes", "fUjKep", "fModosit", "fErdeklodo"})
            QVERIFY2(!m_main->findChild<QWidget *>(QString::fromLatin1(name)), name);
        QVERIFY(!w.fHirek.made() && !w.requestWindows.fErdeklodes.made());
        QVERIFY(!w.registerWindows.fUjKep.made() && !w.fModosit.made());

        DialogAnswerer answerer;
        QList<QPointer<QWidget>> opened;
        const auto remember = [&opened](QWidget *window) {
            opened.append(window);
        };
        for (const char *entry : {"Label2", "Label2", "Label89", "Label89"}) {
            answerer.handle([&](QWidget *window) {
                remember(window);
                window->close();
            });
            clickEntry(m_main, entry);
            QCOMPARE(answerer.pending(), 0);
        }
        QCOMPARE(opened.size(), 4);
        QCOMPARE(opened[0]->objectName(), QStringLiteral("fHirek"));
        QCOMPARE(opened[0]->windowTitle(), QStringLiteral("Pelmora - Üzenetek"));
        QCOMPARE(opened[1], opened[0]);
        QCOMPARE(opened[2]->objectName(), QStringLiteral("fErdeklodes"));
        QCOMPARE(opened[2]->windowTitle(), QStringLiteral("Pelmora - Ingatlant keres"));
        QCOMPARE(opened[3], opened[2]);
        QVERIFY(!w.requestWindows.fUjErdeklodes.made());

        // The photo list keeps its entries between openings.
        const QString photo = m_dir->filePath(QStringLiteral("kep.jpg"));
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(photo, "JPG"));
        clickEntry(m_main, "Label78");
        auto *change = m_main->findChild<QPushButton *>(QStringLiteral("nKepValtoztat"));
        QVERIFY(change);
        answerer.handle([&](QWidget *window) {
            remember(window);
            qobject_cast<TfUjKep *>(window)->addPhoto(photo);
            window->close();
        });
        change->click();
        QCOMPARE(m_main->findChild<QLabel *>(QStringLiteral("Label100"))->text(),
                 QStringLiteral("1"));
        QStringList listed;
        answerer.handle([&](QWidget *window) {
            remember(window);
            auto *list = window->findChild<QListWidget *>(QStringLiteral("pKepLista"));
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            window->close();
        });
        change->click();
        QCOMPARE(opened.size(), 6);
        QCOMPARE(opened[4]->objectName(), QStringLiteral("fUjKep"));
        QCOMPARE(opened[5], opened[4]);
        QCOMPARE(listed, QStringList {photo});
        for (const QPointer<QWidget> &window : opened)
            QCOMPARE(window->parentWidget(), m_main);

        int deletions = 0;
        for (QWidget *window : {opened[0].data(), opened[2].data(), opened[4].data()})
            connect(window, &QObject::destroyed, [&deletions] { ++deletions; });
        QVERIFY(!w.fModosit.made() && !w.registerWindows.fKepmegtekint.made());
        delete m_program;
        m_program = nullptr;
        QCOMPARE(deletions, 3);
        for (const QPointer<QWidget> &window : opened)
            QVERIFY(window.isNull());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
