#include "cursor.h"
#include "dialoganswerer.h"
#include "main.h"
#include "printreports.h"
#include "program.h"
#include "tables.h"
#include "tempdatadir.h"
#include "typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
