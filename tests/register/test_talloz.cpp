#include "register/kepmegtekintes.h"
#include "register/optionlists.h"
#include "register/registerwindows.h"
#include "register/reszletes.h"
#include "register/searchpanel.h"
#include "register/talloz.h"
#include "register/tallozasreszletes.h"
#include "register/tallozbelso.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/register/jpegfiles.h"
#include "tests/register/windowchecks.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "widgets/cursorgrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

template<typename T>
T *child(QWidget *window, const char *name)
{
    return ::control<T>(window, name);
}

void click(QWidget *window, const char *name)
{
    QTest::mouseClick(child<QWidget>(window, name), Qt::LeftButton);
}

QStringList comboItems(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// A register with its search panel listing it by price, as the browse window finds it.
struct Register
{
    TempDataDir dir;
    Database db {dir.path()};
    RegisterState cursors {db};
    RegisterWindows windows;
    TfKepmegtekint viewer;
    SearchPanel search {cursors};
    int printDialogs = 0;
    int printListSeen = -1;

    Register()
    {
        windows.fKepmegtekint = &viewer;
        for (Cursor *c : {&cursors.tEgyszeru, &cursors.tTulajdonos, &cursors.tReszletes,
                          &cursors.tTelep, &cursors.tItypes, &cursors.tDefaults})
            c->open();
        QDir().mkpath(dir.path() + QStringLiteral("Images"));
    }

    int add(const QString &azonosito, double ar, const QVariantMap &fields = {})
    {
        Cursor &c = cursors.tEgyszeru;
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("Ar"), ar);
        for (auto it = fields.begin(); it != fields.end(); ++it)
            c.setValue(it.key(), it.value());
        c.post();
        return c.integer(QStringLiteral("Id"));
    }

    void addOwner(int egyszeruId, const QString &nev, const QString &telefon)
    {
        Cursor &c = cursors.tTulajdonos;
        c.append();
        c.setValue(QStringLiteral("EgyszeruId"), egyszeruId);
        c.setValue(QStringLiteral("Nev"), nev);
        c.setValue(QStringLiteral("Varos"), QStringLiteral("Győr"));
        c.setValue(QStringLiteral("Utca"), QStringLiteral("Fő utca 1."));
        c.setValue(QStringLiteral("Telefon"), telefon);
        c.post();
    }

    // The print dialog as the lead wires it; it only counts the print list it would print.
    std::unique_ptr<TfTallozas> browse()
    {
        search.enter();
        search.show();
        return std::make_unique<TfTallozas>(cursors, windows, [this] {
            ++printDialogs;
            Cursor list(db, tables::egyszeru, true);
            list.open();
            list.setFilterText(QStringLiteral("Print = True"));
            list.setFiltered(true);
            printListSeen = list.recordCount();
        });
    }

    QString shown(QWidget *window) const { return child<QLineEdit>(window, "DBEdit1")->text(); }
    int gridRow() const { return search.grid()->currentIndex().row(); }
    QString gridPrintText(int row) const
    {
        const auto *model = search.grid()->model();
        return model->data(model->index(row, 4)).toString();
    }
    bool storedPrint(int id) const
    {
        Cursor c(const_cast<Database &>(db), tables::egyszeru, true);
        c.open();
        c.locate(QStringLiteral("Id = %1").arg(id));
        return c.boolean(QStringLiteral("Print"));
    }
};

} // namespace

// The browse window and its two inner windows, driven through their controls.
class TestTalloz : public QObject
{
    Q_OBJECT

    // Three properties: the first fully described with two photos whose files are missing, the
    // second bare, the third with one photo on disk; the browse window open on the first.
    static std::unique_ptr<TfTallozas> openThree(Register &r)
    {
        r.add(QStringLiteral("A-100"), 10000000,
              {{"TipusText", QStringLiteral("családi ház")},
               {"EpuletTerulet", 85.5},
               {"TelekTeruletMertek", QStringLiteral("négyszögöl")},
               {"OsszesHelyseg", 5},
               {"CimVaros", QStringLiteral("Szőreg")},
               {"Hrsz", QStringLiteral("1234/5")},
               {"LeirasNemet", QStringLiteral("Schönes Haus\r\nmit Garten")},
               {"LeirasApro", QStringLiteral("Eladó ház, űrlap")},
               {"Kep2", QStringLiteral("x-2.jpg")},
               {"Kep4", QStringLiteral("x-4.jpg")},
               {"Reszletes", true}});
        r.add(QStringLiteral("B-200"), 20000000, {{"Reszletes", false}});
        r.add(QStringLiteral("C-300"), 30000000,
              {{"Kep3", QStringLiteral("c-3.jpg")}, {"Reszletes", true}});
        if (!jpegfiles::writeJpeg(r.dir.path() + QStringLiteral("Images/c-3.jpg"), 200, 150))
            return nullptr;
        auto window = r.browse();
        window->show();
        return window;
    }
    // The browse window over those three, stepped forward from the first as often as asked.
    struct BrowseThree
    {
        Register r;
        std::unique_ptr<TfTallozas> window = openThree(r);
        QWidget *w = window.get();

        explicit BrowseThree(int steps = 0)
        {
            for (int i = 0; w && i < steps; ++i)
                click(w, "Button1");
        }
    };

private slots:
    void firstPropertyFillsEveryControl()
    {
        BrowseThree b;
        QVERIFY(b.w);
        QCOMPARE(b.window->windowTitle(),
                 QStringLiteral("Pelmora - Ingatlan Nyilvántartás (Tallózás)"));
        QCOMPARE(b.r.shown(b.w), QStringLiteral("A-100"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit2")->text(), QStringLiteral("családi ház"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit4")->text(), QStringLiteral("10000000"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit7")->text(), QStringLiteral("85,5"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit9")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit12")->text(), QStringLiteral("négyszögöl"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit14")->text(), QStringLiteral("Szőreg"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit20")->text(), QStringLiteral("1234/5"));
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit21")->text(), QStringLiteral("1234/5"));
        QVERIFY(child<QLineEdit>(b.w, "DBEdit1")->isReadOnly());
        auto *pages = child<QTabWidget>(b.w, "PageControl1");
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(3), QStringLiteral("Apróhírdetés szövege"));
        QCOMPARE(child<QPlainTextEdit>(b.w, "DBMemo3")->toPlainText(),
                 QStringLiteral("Schönes Haus\nmit Garten"));
        QCOMPARE(child<QPlainTextEdit>(b.w, "DBMemo4")->toPlainText(),
                 QStringLiteral("Eladó ház, űrlap"));
        // Photos by slot; the described property offers its description.
        auto *kepLista = child<QComboBox>(b.w, "bKepLista");
        QCOMPARE(comboItems(kepLista),
                 (QStringList {QStringLiteral("2. kép"), QStringLiteral("4. kép")}));
        QVERIFY(kepLista->isEnabled());
        QCOMPARE(kepLista->currentText(), QStringLiteral("2. kép"));
        QVERIFY(child<QPushButton>(b.w, "bKepek")->isEnabled());
        QVERIFY(child<QPushButton>(b.w, "bReszletes")->isEnabled());
    }

    void steppingShowsEveryPropertyAndStopsAtTheEnds()
    {
        BrowseThree b;
        QVERIFY(b.w);
        auto *kepLista = child<QComboBox>(b.w, "bKepLista");
        // Before the first: nothing moves.
        click(b.w, "Button2");
        QCOMPARE(b.r.shown(b.w), QStringLiteral("A-100"));
        QCOMPARE(b.r.gridRow(), 0);

        click(b.w, "Button1");
        QCOMPARE(b.r.shown(b.w), QStringLiteral("B-200"));
        QCOMPARE(b.r.gridRow(), 1);
        QCOMPARE(child<QLineEdit>(b.w, "DBEdit7")->text(), QStringLiteral("0"));
        QCOMPARE(child<QPlainTextEdit>(b.w, "DBMemo3")->toPlainText(), QString());
        QCOMPARE(kepLista->count(), 0);
        QVERIFY(!kepLista->isEnabled());
        QVERIFY(!child<QPushButton>(b.w, "bKepek")->isEnabled());
        QVERIFY(!child<QPushButton>(b.w, "bReszletes")->isEnabled());

        click(b.w, "Button1");
        QCOMPARE(b.r.shown(b.w), QStringLiteral("C-300"));
        QCOMPARE(comboItems(kepLista), QStringList {QStringLiteral("3. kép")});
        QVERIFY(child<QPushButton>(b.w, "bReszletes")->isEnabled());
        // Past the last: nothing moves.
        click(b.w, "Button1");
        QCOMPARE(b.r.shown(b.w), QStringLiteral("C-300"));
        QCOMPARE(b.r.gridRow(), 2);
    }

    void viewerShowsThePhotoOfTheProperty()
    {
        BrowseThree b(2);
        QVERIFY(b.w);
        QCOMPARE(b.r.shown(b.w), QStringLiteral("C-300"));
        // "Megtekint" shows the third photo.
        DialogAnswerer answerer;
        QString viewed;
        QSize picture;
        answerer.handle([&](QWidget *viewer) {
            viewed = viewer->objectName();
            picture = b.r.viewer.view()->pixmap().size();
            viewer->close();
        });
        click(b.w, "bKepek");
        QCOMPARE(viewed, QStringLiteral("fKepmegtekint"));
        QCOMPARE(picture, QSize(200, 150));
    }

    void missingPhotoIsNamedAndTheWindowGoesOn()
    {
        BrowseThree b(0);
        QVERIFY(b.w);
        // A photo whose file is gone is named in a message; the window goes on working.
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        click(b.w, "bKepek");
        QCOMPARE(answerer.pending(), 0);
        QVERIFY2(answerer.lastSeen().contains(QStringLiteral("x-2.jpg")),
                 qPrintable(answerer.lastSeen()));
        click(b.w, "Button1");
        QCOMPARE(b.r.shown(b.w), QStringLiteral("B-200"));
    }

    void closingKeepsThePlaceReached()
    {
        BrowseThree b(1);
        QVERIFY(b.w);
        QCOMPARE(b.r.shown(b.w), QStringLiteral("B-200"));
        // The place reached stays the list's current record after closing.
        click(b.w, "BitBtn1");
        QVERIFY(!b.window->isVisible());
        QCOMPARE(b.r.cursors.tEgyszeru.text(QStringLiteral("Azonosito")), QStringLiteral("B-200"));
    }

    void printFlagIsStoredOnSteppingClosingAndPrinting()
    {
        Register r;
        const int a = r.add(QStringLiteral("A-1"), 1000000);
        const int b = r.add(QStringLiteral("B-2"), 2000000);
        const int c = r.add(QStringLiteral("C-3"), 3000000);
        auto window = r.browse();
        window->show();
        QWidget *w = window.get();
        auto *print = child<QCheckBox>(w, "DBCheckBox1");
        QVERIFY(print->isEnabled());
        QVERIFY(!print->isChecked());

        click(w, "DBCheckBox1");
        QVERIFY(print->isChecked());
        click(w, "Button1");
        QVERIFY(r.storedPrint(a));
        QCOMPARE(r.gridPrintText(0), QStringLiteral("Igen"));
        QCOMPARE(r.gridPrintText(1), QString());
        QVERIFY(!print->isChecked());

        // Back on a ticked property the box shows it; unticking it is stored as well.
        click(w, "Button2");
        QVERIFY(print->isChecked());
        click(w, "DBCheckBox1");
        click(w, "Button1");
        QVERIFY(!r.storedPrint(a));
        QCOMPARE(r.gridPrintText(0), QString());

        // The print dialog sees a tick made just before it opens.
        click(w, "DBCheckBox1");
        click(w, "SpeedButton1");
        QCOMPARE(r.printDialogs, 1);
        QCOMPARE(r.printListSeen, 1);
        QVERIFY(r.storedPrint(b));

        // Closing, by the button or by Esc, stores the last change.
        click(w, "Button1");
        click(w, "DBCheckBox1");
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(r.storedPrint(c));
        QCOMPARE(r.gridPrintText(2), QStringLiteral("Igen"));
        QCOMPARE(r.cursors.tEgyszeru.state(), Cursor::State::Browse);
    }

    void anEmptyListShowsNothingAndCreatesNothing()
    {
        Register r;
        r.add(QStringLiteral("A-1"), 1000000,
              {{"Kep1", QStringLiteral("1-1.jpg")}, {"Reszletes", true}});
        auto window = r.browse();
        r.cursors.tEgyszeru.setFilterText(QStringLiteral("Azonosito = 'nincs ilyen'"));
        r.cursors.tEgyszeru.setFiltered(true);
        window->show();
        QWidget *w = window.get();
        QCOMPARE(r.shown(w), QString());
        QCOMPARE(child<QLineEdit>(w, "DBEdit4")->text(), QString());
        QVERIFY(!child<QCheckBox>(w, "DBCheckBox1")->isEnabled());
        QVERIFY(!child<QComboBox>(w, "bKepLista")->isEnabled());
        QVERIFY(!child<QPushButton>(w, "bKepek")->isEnabled());
        QVERIFY(!child<QPushButton>(w, "bReszletes")->isEnabled());
        click(w, "Button1");
        click(w, "Button2");
        click(w, "SpeedButton1");
        QCOMPARE(r.printDialogs, 0);

        // The inner windows open on nothing and show nothing.
        DialogAnswerer answerer;
        int owners = -1;
        answerer.handle([&](QWidget *inner) {
            owners = child<CursorGrid>(inner, "DBGrid1")->model()->rowCount();
            inner->close();
        });
        click(w, "bBelsoadatok");
        QCOMPARE(owners, 0);
        click(w, "BitBtn1");

        r.cursors.tEgyszeru.setFiltered(false);
        QCOMPARE(r.cursors.tEgyszeru.recordCount(), 1);
        QCOMPARE(r.cursors.tEgyszeru.text(QStringLiteral("Azonosito")), QStringLiteral("A-1"));
    }

    void internalDataShowsThisPropertysOwnersAlone()
    {
        Register r;
        const int a = r.add(QStringLiteral("A-1"), 1000000);
        const int b = r.add(QStringLiteral("B-2"), 2000000,
                            {{"MinimumAr", 1800000},
                             {"MegbizoNev", QStringLiteral("Kovács Ödön")},
                             {"MegbizoUtca", QStringLiteral("Kő utca 3.")},
                             {"MegbizoAnyja", QStringLiteral("Szűcs Éva")},
                             {"Web", true},
                             {"Kulcs", true}});
        r.addOwner(a, QStringLiteral("Más Béla"), QStringLiteral("111"));
        r.addOwner(b, QStringLiteral("Őri Gyula"), QStringLiteral("06 30 123 4567"));
        r.addOwner(b, QStringLiteral("Őri Gyuláné"), QStringLiteral("06 30 765 4321"));

        auto window = r.browse();
        window->show();
        click(window.get(), "Button1");
        QCOMPARE(r.shown(window.get()), QStringLiteral("B-2"));

        DialogAnswerer answerer;
        QStringList rows;
        QStringList titles;
        QString caption, minimum, megbizo, anyja;
        QList<bool> flags;
        answerer.handle([&](QWidget *inner) {
            caption = inner->windowTitle();
            const auto *model = child<CursorGrid>(inner, "DBGrid1")->model();
            for (int column = 0; column < model->columnCount(); ++column)
                titles << model->headerData(column, Qt::Horizontal).toString();
            for (int row = 0; row < model->rowCount(); ++row) {
                rows << model->data(model->index(row, 0)).toString() + QLatin1Char('|') +
                        model->data(model->index(row, 1)).toString() + QLatin1Char('|') +
                        model->data(model->index(row, 5)).toString();
            }
            minimum = child<QLineEdit>(inner, "DBEdit2")->text();
            megbizo = child<QLineEdit>(inner, "DBEdit3")->text();
            anyja = child<QLineEdit>(inner, "DBEdit9")->text();
            for (const char *name : {"DBCheckBox1", "DBCheckBox2", "DBCheckBox3", "DBCheckBox4"})
                flags << child<QCheckBox>(inner, name)->isChecked();
            // The flags are shown, not changed.
            click(inner, "DBCheckBox1");
            flags << child<QCheckBox>(inner, "DBCheckBox1")->isChecked();
            click(inner, "BitBtn1");
        });
        click(window.get(), "bBelsoadatok");
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(caption,
                 QStringLiteral("Pelmora - Ingatlan Nyilvántartás (Tallózás - belső adatok)"));
        QCOMPARE(
            titles,
            (QStringList {QStringLiteral("Név"), QStringLiteral("Cím"),
                          QStringLiteral("Tulajdoni hányad"), QStringLiteral("Anyja neve"),
                          QStringLiteral("Személyigazolvány szám"), QStringLiteral("Telefon")}));
        QCOMPARE(rows,
                 (QStringList {QStringLiteral("Őri Gyula| Győr, Fő utca 1.|06 30 123 4567"),
                               QStringLiteral("Őri Gyuláné| Győr, Fő utca 1.|06 30 765 4321")}));
        QCOMPARE(minimum, QStringLiteral("1800000"));
        QCOMPARE(megbizo, QStringLiteral("Kovács Ödön"));
        QCOMPARE(anyja, QStringLiteral("Szűcs Éva"));
        QCOMPARE(flags, (QList<bool> {false, true, true, false, false}));
        // The main window's owner cursor is left as it was.
        QVERIFY(!r.cursors.tTulajdonos.filtered());
        QCOMPARE(r.cursors.tTulajdonos.recordCount(), 3);
    }

    void detailedDescriptionShowsTheStoredRecordOrNothing()
    {
        Register r;
        const int described = r.add(QStringLiteral("R-1"), 1000000, {{"Reszletes", true}});
        r.add(QStringLiteral("R-2"), 2000000, {{"Reszletes", true}});
        {
            // Entered as the new-property panel stores it.
            DetailedDescription entry;
            auto *falak = child<CheckList>(&entry, "rFalakAnyaga");
            falak->option(1)->setChecked(true);
            falak->option(11)->setChecked(true);
            entry.komfort()->setIndex(2);
            child<QPlainTextEdit>(&entry, "rMegjegyzes")
                ->setPlainText(QStringLiteral("csendes\nutca"));
            Cursor &d = r.cursors.tReszletes;
            d.append();
            d.setValue(QStringLiteral("Azonosito"), QStringLiteral("R-1"));
            d.setValue(QStringLiteral("EgyszeruId"), described);
            entry.writeTo(d);
            d.post();
        }

        auto window = r.browse();
        window->show();
        DialogAnswerer answerer;
        QStringList ticked;
        QString caption, azonosito, megjegyzes, alakTitle;
        int komfort = -1;
        answerer.handle([&](QWidget *inner) {
            caption = inner->windowTitle();
            azonosito = child<QLabel>(inner, "rAzonosito")->text();
            auto *falak = child<CheckList>(inner, "rFalakAnyaga");
            for (QCheckBox *box : falak->options()) {
                if (box->isChecked())
                    ticked << box->text();
            }
            komfort = child<RadioChoice>(inner, "rKomfort")->index();
            alakTitle = child<RadioChoice>(inner, "rAlak")->title();
            megjegyzes = child<QPlainTextEdit>(inner, "nMegjegyzes")->toPlainText();
            // Changes here are never stored.
            falak->option(0)->setChecked(true);
            child<QPlainTextEdit>(inner, "nMegjegyzes")->setPlainText(QStringLiteral("más"));
            click(inner, "BitBtn1");
        });
        click(window.get(), "bReszletes");
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(caption, QStringLiteral("Pelmora - (Tallózás - részletes leírás)"));
        QCOMPARE(azonosito, QStringLiteral("R-1"));
        QCOMPARE(
            ticked,
            (QStringList {QStringLiteral("falazó elem"), QStringLiteral("szerelt szakipari")}));
        QCOMPARE(komfort, 2);
        QCOMPARE(alakTitle, QStringLiteral(" Ingatlan alakja "));
        QCOMPARE(megjegyzes, QStringLiteral("csendes\nutca"));
        Cursor &d = r.cursors.tReszletes;
        d.first();
        QCOMPARE(d.text(QStringLiteral("FalakAnyagaId")), QStringLiteral("010000000001"));
        QCOMPARE(d.text(QStringLiteral("Megjegyzes")), QStringLiteral("csendes\r\nutca"));
        QCOMPARE(d.recordCount(), 1);

        // Marked as described but without a record: a blank form, not the previous one.
        click(window.get(), "Button1");
        QCOMPARE(r.shown(window.get()), QStringLiteral("R-2"));
        QVERIFY(child<QPushButton>(window.get(), "bReszletes")->isEnabled());
        ticked.clear();
        answerer.handle([&](QWidget *inner) {
            azonosito = child<QLabel>(inner, "rAzonosito")->text();
            for (QCheckBox *box : child<CheckList>(inner, "rFalakAnyaga")->options()) {
                if (box->isChecked())
                    ticked << box->text();
            }
            komfort = child<RadioChoice>(inner, "rKomfort")->index();
            megjegyzes = child<QPlainTextEdit>(inner, "nMegjegyzes")->toPlainText();
            inner->close();
        });
        click(window.get(), "bReszletes");
        QCOMPARE(azonosito, QString());
        QCOMPARE(ticked, QStringList());
        QCOMPARE(komfort, 0);
        QCOMPARE(megjegyzes, QString());
    }
};

QTEST_MAIN(TestTalloz)
#include "test_talloz.moc"
