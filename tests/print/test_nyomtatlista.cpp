#include "buyers/erdeklodo.h"
#include "print/adatlap1.h"
#include "print/adatlap2.h"
#include "print/nyomtatlista.h"
#include "print/printreports.h"
#include "print/printrun.h"
#include "store/tables.h"
#include "tests/print/printfixture.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The print dialog driven through its controls, every printer run written to a PDF of its own.
class TestNyomtatlista : public QObject
{
    Q_OBJECT

private:
    struct Setup
    {
        PrintFixture f;
        TfErdeklodo fErdeklodo {f.cursors};
        // Answers in the buyer window's stead when set.
        BuyerPrompt stand_in;
        PrintReports reports {f.cursors, [this]() -> std::optional<Buyer> {
                                  if (stand_in)
                                      return stand_in();
                                  if (fErdeklodo.ask() == TfErdeklodo::Outcome::Abandon)
                                      return std::nullopt;
                                  return fErdeklodo.buyer();
                              }};
        Setup() { f.capture(reports.output); }

        // Five properties, priced so that the price order differs from the stored order; the
        // second, third and fifth are on the print list, the third has a detailed description.
        void register5()
        {
            const double prices[] = {30, 10, 50, 20, 40};
            for (int i = 0; i < 5; ++i) {
                const int id =
                    f.addProperty({{"Azonosito", QStringLiteral("P%1").arg(i + 1)},
                                   {"Ar", prices[i] * 1000000},
                                   {"CimVaros", i == 3 ? "Győr" : "Pécs"},
                                   {"Print", i == 1 || i == 2 || i == 4},
                                   {"Reszletes", i == 2},
                                   {"MegbizoNev", QStringLiteral("Megbízó %1").arg(i + 1)},
                                   {"LeirasApro", QStringLiteral("Apró %1").arg(i + 1)}});
                if (i == 2)
                    f.addDetails(id, {{"AlakText", "szabálytalan"}});
            }
            // The results list as the search panel leaves it: sorted by price, filtered, on a row.
            Cursor &view = f.cursors.tEgyszeru;
            view.setIndexName(QStringLiteral("iar"));
            view.setFilterText(QStringLiteral("CimVaros = 'Pécs'"));
            view.setFiltered(true);
            view.moveTo(1); // P1 (30), after P2 (10)
        }
        int handoutCount()
        {
            Cursor all(f.db, tables::erdeklodok, false);
            all.open();
            return all.recordCount();
        }
    };

    static void tick(QWidget *dialog, const char *name, bool on = true)
    {
        auto *box = control<QCheckBox>(dialog, name);
        if (box->isChecked() != on)
            box->click();
    }
    static QString ticked(QWidget *dialog)
    {
        QString result;
        for (const char *name : {"CheckBox2", "CheckBox1", "CheckBox3", "CheckBox4", "CheckBox5"})
            result +=
                control<QCheckBox>(dialog, name)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return result;
    }
    static void typeInto(QWidget *widget, const QString &text)
    {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    static void answerBuyer(DialogAnswerer &answers, const QStringList &buyer)
    {
        answers.handle([buyer](QWidget *w) {
            const char *names[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
            for (int i = 0; i < 4; ++i) {
                auto *edit = w->findChild<QLineEdit *>(QLatin1String(names[i]));
                edit->clear();
                typeInto(edit, buyer[i]);
            }
            w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
    }
    // The search result as it was before printing: its filter, on, and its current record.
    static bool viewRestored(const Cursor &view)
    {
        return view.filterText() == QStringLiteral("CimVaros = 'Pécs'") && view.filtered() &&
            view.position() == 1 && view.text(QStringLiteral("Azonosito")) == QStringLiteral("P1");
    }

    // Opens the print dialog and works it with `steps`, which close it; true when it came up.
    static bool workDialog(Setup &s, const std::function<void(QWidget *)> &steps)
    {
        DialogAnswerer answers;
        answers.handle(steps);
        openPrintDialog(s.reports);
        return answers.pending() == 0;
    }

private slots:
    void emptyResultsListGetsAMessageNotTheDialog()
    {
        Setup s;
        DialogAnswerer answers;
        answers.answer(QStringLiteral("OK"));
        openPrintDialog(s.reports);
        QCOMPARE(answers.seen(),
                 QStringList {"Nincs kiválaszott ingatlan, amit nyomtatni lehetne!"});
    }

    void emptyPrintListLeavesOnlyTheCurrentProperty()
    {
        Setup s;
        s.f.addProperty({{"Azonosito", "A1"}});
        QVERIFY(workDialog(s, [](QWidget *d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Pelmora - Nyomtatás"));
            QVERIFY(control<QRadioButton>(d, "RadioButton1")->isChecked());
            QVERIFY(!control<QRadioButton>(d, "RadioButton2")->isEnabled());
            control<QPushButton>(d, "BitBtn1")->click();
        }));
    }

    void opensOnTheCurrentPropertyWithTheDefaults()
    {
        Setup s;
        s.register5();
        QVERIFY(workDialog(s, [](QWidget *d) {
            QVERIFY(control<QRadioButton>(d, "RadioButton2")->isEnabled());
            QCOMPARE(control<QGroupBox>(d, "nyGroup")->title(),
                     QStringLiteral("Aktuális ingatlan"));
            QCOMPARE(ticked(d), QStringLiteral("10000"));
            QCOMPARE(control<QLineEdit>(d, "MaskEdit1")->text(), QStringLiteral("1"));
            QCOMPARE(control<QLabel>(d, "Label3")
                         ->text()
                         .contains(QStringLiteral("Nyomtató beállítása...")),
                     true);
            QCOMPARE(control<QPushButton>(d, "SpeedButton1")->text(), QStringLiteral("Nyomtatás"));
            QCOMPARE(control<QPushButton>(d, "SpeedButton2")->text(),
                     QStringLiteral("Nyomtatási kép"));
            control<QPushButton>(d, "BitBtn1")->click();
        }));
    }

    void whatToPrintRetitlesOrHidesTheReportGroup()
    {
        Setup s;
        s.register5();
        QVERIFY(workDialog(s, [](QWidget *d) {
            auto *group = control<QGroupBox>(d, "nyGroup");
            control<QRadioButton>(d, "RadioButton2")->click();
            QCOMPARE(group->title(), QStringLiteral("Nyomtatásra kijelölt ingatlanok"));
            control<QRadioButton>(d, "RadioButton3")->click();
            QVERIFY(group->isHidden());
            control<QRadioButton>(d, "RadioButton1")->click();
            QVERIFY(!group->isHidden());
            QCOMPARE(group->title(), QStringLiteral("Aktuális ingatlan"));
            control<QPushButton>(d, "BitBtn1")->click();
        }));
    }

    // Archive and ad texts untick the rest; a handout unticks those two; the others untick
    // nothing.
    void exclusiveReportsUntickTheOthers()
    {
        Setup s;
        s.register5();
        QVERIFY(workDialog(s, [](QWidget *d) {
            tick(d, "CheckBox1");
            QCOMPARE(ticked(d), QStringLiteral("11000"));
            tick(d, "CheckBox3");
            QCOMPARE(ticked(d), QStringLiteral("00100"));
            tick(d, "CheckBox2");
            tick(d, "CheckBox5");
            QCOMPARE(ticked(d), QStringLiteral("00001"));
            tick(d, "CheckBox2");
            tick(d, "CheckBox1");
            tick(d, "CheckBox4");
            QCOMPARE(ticked(d), QStringLiteral("11010"));
            tick(d, "CheckBox3");
            tick(d, "CheckBox4");
            QCOMPARE(ticked(d), QStringLiteral("00010"));
            control<QPushButton>(d, "BitBtn1")->click();
        }));
    }

    // Copies: the text is selected after every change, so a keystroke replaces it; an empty box
    // or 0 becomes 1.
    void copiesAreOneOrMoreTypedOverTheLast()
    {
        Setup s;
        s.register5();
        QVERIFY(workDialog(s, [](QWidget *d) {
            auto *copies = control<QLineEdit>(d, "MaskEdit1");
            copies->setFocus();
            copies->selectAll();
            typeInto(copies, QStringLiteral("3"));
            QCoreApplication::processEvents();
            QCOMPARE(copies->text(), QStringLiteral("3"));
            QCOMPARE(copies->selectedText(), QStringLiteral("3"));
            typeInto(copies, QStringLiteral("7"));
            QCoreApplication::processEvents();
            QCOMPARE(copies->text(), QStringLiteral("7"));
            typeInto(copies, QStringLiteral("x"));
            QCOMPARE(copies->text(), QStringLiteral("7"));
            for (const QString &value : {QString(), QStringLiteral("0"), QStringLiteral("00")}) {
                copies->setText(value);
                emit copies->editingFinished();
                QCOMPARE(copies->text(), QStringLiteral("1"));
            }
            control<QPushButton>(d, "BitBtn1")->click();
        }));
    }

    // The next opening starts from the defaults again, and opening leaves the view as it was.
    void nextOpeningStartsFromTheDefaults()
    {
        Setup s;
        s.register5();
        QVERIFY(workDialog(s, [](QWidget *d) {
            control<QRadioButton>(d, "RadioButton2")->click();
            tick(d, "CheckBox2", false);
            tick(d, "CheckBox4");
            control<QLineEdit>(d, "MaskEdit1")->setText(QStringLiteral("5"));
            control<QPushButton>(d, "BitBtn1")->click();
        }));
        QVERIFY(workDialog(s, [](QWidget *d) {
            QVERIFY(control<QRadioButton>(d, "RadioButton1")->isChecked());
            QCOMPARE(ticked(d), QStringLiteral("10000"));
            QCOMPARE(control<QLineEdit>(d, "MaskEdit1")->text(), QStringLiteral("1"));
            d->close();
        }));
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));
        QVERIFY(s.f.runs().isEmpty());
    }

    void sheetsAndCopies()
    {
        Setup s;
        s.register5();
        TfValasztNyomtat dialog(s.reports);
        dialog.show();
        // Three listed properties: three data sheet runs in the results list's order (by
        // price), each with the copies asked for.
        control<QRadioButton>(&dialog, "RadioButton2")->click();
        control<QLineEdit>(&dialog, "MaskEdit1")->setText(QStringLiteral("2"));
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 3);
        const QStringList order {"P2", "P5", "P3"};
        for (int i = 0; i < 3; ++i) {
            const QString text = s.f.runText(i);
            QCOMPARE(pageCount(text), 2);
            QCOMPARE(text.count(QStringLiteral("Ingatlan adatai\n") + order[i] + QLatin1Char('\n')),
                     2);
            QVERIFY(text.contains(QStringLiteral("Megbízó")));
            QVERIFY(!text.contains(QStringLiteral("Részletes adatok")));
        }
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));

        // The current property alone, with its detailed data when it has some; the dialog
        // stays open for the next run.
        s.f.cursors.tEgyszeru.moveTo(3); // P3, detailed
        tick(&dialog, "CheckBox1");
        tick(&dialog, "CheckBox2", false);
        control<QRadioButton>(&dialog, "RadioButton1")->click();
        control<QLineEdit>(&dialog, "MaskEdit1")->setText(QString());
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(s.f.runs().size(), 4);
        const QString current = s.f.runText(3);
        QCOMPARE(pageCount(current), 1);
        QVERIFY(inOrder(current, {"P3", "Általános adatok", "Részletes adatok", "szabálytalan"}));
        QVERIFY(!current.contains(QStringLiteral("Megbízó")));
        QCOMPARE(s.f.cursors.tEgyszeru.position(), 3);

        // Archive sheets for the list: one run each, nothing else.
        control<QRadioButton>(&dialog, "RadioButton2")->click();
        tick(&dialog, "CheckBox3");
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 7);
        for (int i = 0; i < 3; ++i)
            QVERIFY(
                inOrder(s.f.runText(4 + i), {"(Archív)", order[i], "Minimum ár:", "Tulajdonosok"}));

        // Ad texts: one list over the print list, or over the current property alone.
        tick(&dialog, "CheckBox5");
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QVERIFY(inOrder(s.f.runText(7),
                        {"Hírdetési szöveg", "Apró 2", "P2", "Apró 5", "P5", "Apró 3", "P3"}));
        control<QRadioButton>(&dialog, "RadioButton1")->click();
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 9);
        const QString single = s.f.runText(8);
        QVERIFY(single.contains(QStringLiteral("Apró 3")));
        QCOMPARE(single.count(QStringLiteral("Azonosító:")), 1);
        QCOMPARE(s.f.cursors.tEgyszeru.position(), 3);

        // The buyers' list of the current property, and nothing recorded by any of this.
        control<QRadioButton>(&dialog, "RadioButton3")->click();
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 10);
        QVERIFY(inOrder(s.f.runText(9), {"Érdeklődők listája", "P3", "Érdeklődők:"}));
        QCOMPARE(s.handoutCount(), 0);
        QVERIFY(!s.f.cursors.tErdeklodo.isOpen());
    }

    void handouts()
    {
        Setup s;
        s.register5();
        s.f.setSettings({{"Elvitel", "Jutalék: 3%."}});
        Cursor &view = s.f.cursors.tEgyszeru;
        // Take P3 off the list: two listed properties remain, P2 and P5.
        view.setFiltered(false);
        QVERIFY(view.locate(QStringLiteral("Azonosito = 'P3'")));
        view.setValue(QStringLiteral("Print"), false);
        view.post();
        view.setFiltered(true);
        view.moveTo(1);
        DialogAnswerer answers;
        TfValasztNyomtat dialog(s.reports);
        dialog.show();
        control<QRadioButton>(&dialog, "RadioButton2")->click();
        tick(&dialog, "CheckBox4");

        // Without detailed data: no data sheets, two records, one address list naming both.
        answerBuyer(answers, {"Vevő Győző", "Eger, Dobó tér 1.", "36/222", "ŰŐ-77"});
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 1);
        QCOMPARE(s.handoutCount(), 2);
        const QString list = s.f.runText(0);
        QVERIFY(inOrder(list,
                        {"Címlista kiadás", "Érdeklődő adatai", "Vevő Győző", "Eger, Dobó tér 1.",
                         "36/222", "ŰŐ-77", "Elvitt címek", "1.,", "P2", "2.,", "P5",
                         "Megbízó: Megbízó 5", "Elvitel feltételei", "Jutalék: 3%."}));
        QVERIFY(viewRestored(view));
        QVERIFY(!s.f.cursors.tErdeklodo.isOpen());

        // With detailed data the two data sheets come first; the buyer window offers the same
        // buyer again.
        tick(&dialog, "CheckBox1");
        tick(&dialog, "CheckBox2", false);
        answers.handle([](QWidget *w) {
            QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Edit1"))->text(),
                     QStringLiteral("Vevő Győző"));
            w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 4);
        QVERIFY(s.f.runText(1).contains(QStringLiteral("Ingatlan adatai\nP2")));
        QVERIFY(s.f.runText(2).contains(QStringLiteral("Ingatlan adatai\nP5")));
        QVERIFY(!s.f.runText(3).contains(QStringLiteral("Megbízó:")));
        QCOMPARE(s.handoutCount(), 4);

        // The current property alone: one record, an address list of that property only.
        control<QRadioButton>(&dialog, "RadioButton1")->click();
        tick(&dialog, "CheckBox1", false);
        answerBuyer(answers, {"Második Vevő", "Vác", "1", "2"});
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(s.f.runs().size(), 5);
        QCOMPARE(s.handoutCount(), 5);
        const QString one = s.f.runText(4);
        QVERIFY(inOrder(one, {"Második Vevő", "1.,", "P1"}));
        QVERIFY(!one.contains(QStringLiteral("2.,")));
        Record latest = latestHandout(s.f.cursors.tErdeklodo, view.number(QStringLiteral("Id")));
        QCOMPARE(latest.text(QStringLiteral("IngatlanAzon")), QStringLiteral("P1"));
        s.f.cursors.tErdeklodo.close();

        // "Mégsem" or the close box in the buyer window: nothing printed, nothing recorded.
        answers.answer(QStringLiteral("BitBtn2"));
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        answers.handle([](QWidget *w) { w->close(); });
        control<QPushButton>(&dialog, "SpeedButton2")->click();
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(s.f.runs().size(), 5);
        QCOMPARE(s.handoutCount(), 5);
        QVERIFY(viewRestored(view));
    }

    // A run asks whoever the program wired in, once per run and only for an address list; an
    // abandoned answer prints and records nothing. No buyer window takes part.
    void handoutsThroughAnyPrompt()
    {
        Setup s;
        s.register5();
        int asked = 0;
        std::optional<Buyer> answer = Buyer {QStringLiteral("Próba Péter"), QStringLiteral("Ózd"),
                                             QStringLiteral("12"), QStringLiteral("AB-1")};
        s.stand_in = [&] {
            ++asked;
            return answer;
        };
        DialogAnswerer answers;
        PrintChoice choice;
        choice.target = PrintChoice::Target::Kijelolt;
        PrintRun run(s.reports);
        QVERIFY(run.execute(choice, Destination::Printer));
        QCOMPARE(asked, 0);
        QCOMPARE(s.handoutCount(), 0);

        choice.cimlista = true;
        QVERIFY(run.execute(choice, Destination::Printer));
        QCOMPARE(asked, 1);
        QCOMPARE(s.handoutCount(), 3);
        QVERIFY(inOrder(s.f.runText(s.f.runs().size() - 1),
                        {"Próba Péter", "Ózd", "12", "AB-1", "P2", "P5", "P3"}));
        QVERIFY(!s.f.cursors.tErdeklodo.isOpen());

        const auto before = s.f.runs().size();
        answer.reset();
        QVERIFY(!run.execute(choice, Destination::Printer));
        QCOMPARE(asked, 2);
        QCOMPARE(s.f.runs().size(), before);
        QCOMPARE(s.handoutCount(), 3);
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));
        QVERIFY(!s.fErdeklodo.isVisible());
        QCOMPARE(answers.windows(), QStringList());
    }

    // A long run shows its progress; "Mégsem" there stops it: false, no handouts recorded, and
    // the dialog goes on working afterwards.
    void longRunCancelled()
    {
        Setup s;
        QString ad;
        for (int line = 0; line < 12; ++line)
            ad += QStringLiteral("Hosszú apróhirdetés %1. sora.\r\n").arg(line + 1);
        for (int i = 0; i < 400; ++i)
            s.f.addProperty({{"Azonosito", QStringLiteral("H%1").arg(i)},
                             {"Ar", 1000000 + i},
                             {"Print", true},
                             {"LeirasApro", ad}});
        s.reports.output.setProgressTiming({0, 0});
        s.stand_in = [] {
            return std::optional<Buyer>(Buyer {QStringLiteral("Vevő"), QStringLiteral("Pécs"),
                                               QStringLiteral("1"), QStringLiteral("2")});
        };
        DialogAnswerer answers;
        int pageSeen = 0;
        answers.handle(
            [&](QWidget *w) {
                auto *progress = qobject_cast<QProgressDialog *>(w);
                QVERIFY(progress);
                QCOMPARE(progress->windowTitle(), QStringLiteral("Pelmora - Nyomtatás"));
                static const QRegularExpression page(
                    QStringLiteral("^Nyomtatás folyamatban: (\\d+)\\. oldal$"));
                pageSeen = page.match(progress->labelText()).captured(1).toInt();
                progress->cancel();
            },
            QStringLiteral("nyomtatasFolyamat"));
        PrintChoice choice;
        choice.target = PrintChoice::Target::Kijelolt;
        choice.apro = true;
        PrintRun run(s.reports);
        QVERIFY(!run.execute(choice, Destination::Printer));
        QCOMPARE(answers.pending(), 0);
        QVERIFY(pageSeen >= 1);
        QCOMPARE(answers.seen().size(), 1); // no error message after the stop

        choice.apro = false;
        choice.cimlista = true;
        answers.handle([](QWidget *w) { qobject_cast<QProgressDialog *>(w)->cancel(); },
                       QStringLiteral("nyomtatasFolyamat"));
        QVERIFY(!run.execute(choice, Destination::Printer));
        QCOMPARE(s.handoutCount(), 0);

        // Left alone, the same run goes out whole and records every handout.
        s.reports.output.setProgressTiming({});
        QVERIFY(run.execute(choice, Destination::Printer));
        QCOMPARE(s.handoutCount(), 400);
        const QString list = s.f.runText(s.f.runs().size() - 1);
        QVERIFY(inOrder(list, {"H0", "H1", "H399"}));
    }

    void previews()
    {
        Setup s;
        s.register5();
        DialogAnswerer answers;
        TfValasztNyomtat dialog(s.reports);
        dialog.show();
        control<QRadioButton>(&dialog, "RadioButton2")->click();

        // Three listed properties: three previews, each opening when the previous is closed.
        QStringList shown;
        for (int i = 0; i < 3; ++i)
            answers.handle([&](QWidget *w) {
                shown << w->windowTitle();
                w->close();
            });
        control<QPushButton>(&dialog, "SpeedButton2")->click();
        QCOMPARE(shown, QStringList(3, QStringLiteral("Pelmora - Nyomtatási kép")));
        QCOMPARE(answers.pending(), 0);

        // A handout shown in the preview is recorded as when printing; the preview saves the
        // report it shows as a PDF.
        tick(&dialog, "CheckBox4");
        answerBuyer(answers, {"Előnézeti Vevő", "Szeged", "1", "2"});
        const QString saved = s.f.pdfFile(QStringLiteral("mentett"));
        answers.handle([&](QWidget *w) {
            QAction *save = w->findChild<QAction *>(QStringLiteral("mentesPdf"));
            QVERIFY(save);
            QCOMPARE(save->text(), QStringLiteral("Mentés PDF-be..."));
            QMetaObject::invokeMethod(save, &QAction::trigger, Qt::QueuedConnection);
        });
        answers.handle([&](QWidget *fileDialog) {
            auto *name = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(saved);
            QTest::keyClick(name, Qt::Key_Return);
        });
        answers.handle([&](QWidget *w) { w->close(); });
        control<QPushButton>(&dialog, "SpeedButton2")->click();
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(s.handoutCount(), 3);
        QVERIFY(
            inOrder(PrintFixture::pdfText(saved + QStringLiteral(".pdf")),
                    {"Címlista kiadás", "Előnézeti Vevő", "1.,", "P2", "2.,", "P5", "3.,", "P3"}));
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));
    }

    void blankSheetsFromMenu()
    {
        Setup s;
        s.register5();
        printBlankSheets(s.reports);
        QCOMPARE(s.f.runs().size(), 2);
        QVERIFY(s.f.runText(0).contains(QStringLiteral("Adatlap (1/2)")));
        QVERIFY(s.f.runText(1).contains(QStringLiteral("Adatlap (2/2)")));
        QCOMPARE(pageCount(s.f.runText(0)) + pageCount(s.f.runText(1)), 2);
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));
    }

    void pdfFilesAreNeverWrittenOver()
    {
        Setup s;
        s.register5();
        auto pdfPrinter = [](const QString &file) {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(file);
            return printer;
        };
        auto sheetOf = [&s](const char *name) {
            const QString text = PrintFixture::pdfText(s.f.pdfFile(QString::fromLatin1(name)));
            return text.contains(QStringLiteral("Adatlap (1/2)")) ? 1
                : text.contains(QStringLiteral("Adatlap (2/2)"))  ? 2
                                                                  : 0;
        };

        // "Nyomtatás fájlba (PDF)" named one file: every later sheet goes beside it, numbered.
        const QString chosen = s.f.pdfFile(QStringLiteral("sajat.pdf"));
        s.reports.output.setPrinterFactory([&] { return pdfPrinter(chosen); });
        DialogAnswerer answers;
        printBlankSheets(s.reports);
        printBlankSheets(s.reports);
        QCOMPARE(answers.windows(), QStringList());
        QCOMPARE(sheetOf("sajat.pdf"), 1);
        QCOMPARE(sheetOf("sajat-2.pdf"), 2);
        QCOMPARE(sheetOf("sajat-3.pdf"), 1);
        QCOMPARE(sheetOf("sajat-4.pdf"), 2);

        // No printer installed, only Qt's PDF printer: each run asks once for its file, offers a
        // free name, and "Nincs elérhető nyomtató" is never said.
        int attempts = 0;
        s.reports.output.setPrinterFactory([&] {
            ++attempts;
            return pdfPrinter(QString());
        });
        QString offered;
        auto saveAs = [&](const QString &file) {
            answers.handle([&offered, file](QWidget *fileDialog) {
                auto *name = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                offered = QFileInfo(name->text()).fileName();
                if (!file.isEmpty())
                    name->setText(file);
                QTest::keyClick(name, Qt::Key_Return);
            });
        };
        saveAs(s.f.pdfFile(QStringLiteral("lapok")));
        printBlankSheets(s.reports);
        QCOMPARE(attempts, 2);
        QCOMPARE(answers.windows().size(), 1);
        QCOMPARE(offered, QStringLiteral("nyomtatas.pdf"));
        QCOMPARE(sheetOf("lapok.pdf"), 1);
        QCOMPARE(sheetOf("lapok-2.pdf"), 2);
        const QByteArray first = [&] {
            QFile file(s.f.pdfFile(QStringLiteral("lapok.pdf")));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        saveAs(QString()); // the offered name as it stands
        printBlankSheets(s.reports);
        QCOMPARE(offered, QStringLiteral("lapok-3.pdf"));
        QCOMPARE(sheetOf("lapok-3.pdf"), 1);
        QCOMPARE(sheetOf("lapok-4.pdf"), 2);
        QFile again(s.f.pdfFile(QStringLiteral("lapok.pdf")));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), first);

        // Cancelled: nothing printed, nothing said, the second sheet not tried.
        answers.handle([](QWidget *fileDialog) { fileDialog->close(); });
        printBlankSheets(s.reports);
        QCOMPARE(attempts, 5);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.seen().size(), answers.windows().size());
        for (const QString &text : answers.seen())
            QVERIFY(!text.contains(QStringLiteral("Nincs elérhető nyomtató")));
    }

    void printToFileChosenInTheSetupDialog()
    {
        // The program's own printer choice, as "Nyomtató beállítása..." leaves it.
        PrintFixture f;
        PrintOutput output;
        TfAdatlap1 first(f.cursors.tDefaults);
        TfAdatlap2 second(f.cursors.tDefaults);
        DialogAnswerer answers;
        // Where no printer is installed (never a real one here: it would print), the first run
        // asks for a PDF file rather than say "Nincs elérhető nyomtató".
        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            answers.handle([&](QWidget *fileDialog) {
                auto *name = fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(f.pdfFile(QStringLiteral("alap")));
                QTest::keyClick(name, Qt::Key_Return);
            });
            QVERIFY(output.run(
                Destination::Printer, [&](PrintCanvas &canvas) { first.paint(canvas); }, 1,
                nullptr));
            QCOMPARE(answers.windows().size(), 1);
            QVERIFY(PrintFixture::pdfText(f.pdfFile(QStringLiteral("alap.pdf")))
                        .contains(QStringLiteral("Adatlap (1/2)")));
        }

        const QString chosen = f.pdfFile(QStringLiteral("beallitott.pdf"));
        const int before = answers.windows().size();
        answers.handle([&](QWidget *dialog) {
            auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
            QVERIFY(printers);
            const int pdf = printers->findText(QStringLiteral("PDF"), Qt::MatchContains);
            QVERIFY(pdf >= 0);
            printers->setCurrentIndex(pdf);
            auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(file);
            file->setText(chosen);
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        output.setupPrinter(nullptr);
        QCOMPARE(answers.pending(), 0);
        QVERIFY(output.run(
            Destination::Printer, [&](PrintCanvas &canvas) { first.paint(canvas); }, 1, nullptr));
        QVERIFY(output.run(
            Destination::Printer, [&](PrintCanvas &canvas) { second.paint(canvas); }, 1, nullptr));
        QCOMPARE(answers.windows().size(), before + 1); // the setup dialog only
        QVERIFY(PrintFixture::pdfText(chosen).contains(QStringLiteral("Adatlap (1/2)")));
        QVERIFY(PrintFixture::pdfText(f.pdfFile(QStringLiteral("beallitott-2.pdf")))
                    .contains(QStringLiteral("Adatlap (2/2)")));
    }

    void failingPrinter()
    {
        Setup s;
        s.register5();
        // An output that cannot be written: the run stops with a message and records nothing.
        int attempts = 0;
        s.reports.output.setPrinterFactory([&] {
            ++attempts;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(s.f.pdfFile(QStringLiteral("nincs/ilyen/mappa.pdf")));
            return printer;
        });
        DialogAnswerer answers;
        TfValasztNyomtat dialog(s.reports);
        dialog.show();
        control<QRadioButton>(&dialog, "RadioButton2")->click();
        tick(&dialog, "CheckBox4");
        tick(&dialog, "CheckBox1");
        answerBuyer(answers, {"Vevő", "Cím", "1", "2"});
        answers.answer(QStringLiteral("OK"));
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(attempts, 1); // the first sheet failed, nothing after it was tried
        QVERIFY(answers.lastSeen().contains(QStringLiteral("nincs/ilyen/mappa.pdf")));
        QVERIFY(answers.lastSeen().contains(QStringLiteral("nem írható")));
        QCOMPARE(s.handoutCount(), 0);
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));

        // A printer that fails at the address list, after the data sheets went out and their
        // handouts were written, undoes the handouts of the whole run too.
        int runs = 0;
        s.reports.output.setPrinterFactory([&] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            ++runs;
            printer->setOutputFileName(s.f.pdfFile(runs <= 3
                                                       ? QStringLiteral("lap-%1.pdf").arg(runs)
                                                       : QStringLiteral("nincs/ilyen/lista.pdf")));
            return printer;
        });
        answerBuyer(answers, {"Vevő", "Cím", "1", "2"});
        answers.answer(QStringLiteral("OK"));
        control<QPushButton>(&dialog, "SpeedButton1")->click();
        QCOMPARE(runs, 4);
        QVERIFY(PrintFixture::pdfText(s.f.pdfFile(QStringLiteral("lap-3.pdf")))
                    .contains(QStringLiteral("Ingatlan adatai")));
        QVERIFY(answers.lastSeen().contains(QStringLiteral("nincs/ilyen/lista.pdf")));
        QCOMPARE(s.handoutCount(), 0);
        QVERIFY(viewRestored(s.f.cursors.tEgyszeru));
    }
};

QTEST_MAIN(TestNyomtatlista)
#include "test_nyomtatlista.moc"
