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

private slots:
    void coverBlocksTheMenuButNotQuit()
    {
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        program.show();
        TfMain *main = program.main();
        QVERIFY(QTest::qWaitForWindowExposed(main));
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
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        program.show();
        TfMain *main = program.main();
        QVERIFY(QTest::qWaitForWindowExposed(main));

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
        const QString pdf = dir.filePath(QStringLiteral("adatlap.pdf"));
        program.windows().printReports->output.setPrinterFactory([pdf] {
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
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        program.show();
        TfMain *main = program.main();
        Cursor requests(*program.database(), tables::erdeklodes, false);
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
        TempDataDir dir;
        Program program;
        QVERIFY(program.start());
        program.show();
        QFile::remove(dir.filePath(QStringLiteral("licence.txt")));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK")); // the file error
        answerer.handle([](QWidget *about) { about->close(); });
        clickEntry(program.main(), "Label96");
        QCOMPARE(answerer.windows().size(), 2);
        QVERIFY(answerer.seen().first().contains(QStringLiteral("licence.txt")));
        QCOMPARE(answerer.windows().last(), QStringLiteral("fAbout"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
