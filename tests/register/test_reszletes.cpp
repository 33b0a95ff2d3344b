#include "register/newproperty.h"
#include "register/optionlists.h"
#include "register/registerwindows.h"
#include "register/reszletes.h"
#include "register/reszletespanel.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "tests/support/controls.h"
#include "tests/support/tempdatadir.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

namespace {

struct ExpectedList
{
    const char *name;
    const char *idField;
    const char *textField;
    QStringList captions;
};

QStringList list(std::initializer_list<const char *> captions)
{
    QStringList result;
    for (const char *caption : captions)
        result << QString::fromUtf8(caption);
    return result;
}

const QList<ExpectedList> &expectedLists()
{
    static const QList<ExpectedList> lists {
        {"rFalakAnyaga", "FalakAnyagaId", "FalakAnyagaText",
         list({"tégla", "falazó elem", "panel", "beton", "fémszerkezet", "fa", "kő",
               "könnyűszerkezet", "vályogtégla", "vegyes", "tömés", "szerelt szakipari"})},
        {"rFutesTipus", "FutesTipusId", "FutesTipusText",
         list({"hagyományos", "gáz", "távfűtés", "cirko", "központi", "elektromos", "nincs",
               "egyéb"})},
        {"rFutesModja", "FutesModjaId", "FutesModjaText",
         list({"padló", "radiátor", "kandalló", "cserépkályha", "konvektor", "egyéb"})},
        {"rFutoanyag", "FutoanyagId", "FutoAnyagText",
         list({"vezetékes gáz", "tartályos gáz", "szén-fa", "vegyes", "olaj", "villany", "nincs",
               "egyéb"})},
        {"rTelekAllag", "TelekAllagId", "TelekAllagText",
         list({"rendezett", "parkosított", "elhanyagolt", "részben rendezett", "egyéb"})},
        {"rUdvar", "UdvarId", "UdvarText",
         list({"nincs", "füvesített", "parkosított", "konyhakert", "gyümölcsös",
               "szilárd burkolat"})},
        {"rParkolas", "ParkolasId", "ParkolasText", list({"garázs", "beálló", "nincs", "egyéb"})},
        {"rKozmuvek", "KozmuvekId", "KozmuvekText",
         list({"vezetékes víz", "kúti víz", "ciszterna", "villany", "vezetékes gáz",
               "tartályos gáz", "csatorna", "ülepítő", "telefon", "kábel TV", "telefonközpont"})},
        {"rTeto", "TetoId", "TetoText",
         list({"cserép", "pala", "hullámpala", "zsindely", "bitumenes zsindely", "egyéb:"})},
        {"rFelszereltseg", "FelszereltsegId", "FelszereltsegText",
         list({"medence", "szauna", "jacuzzi", "bútorozott", "részben bútorozott",
               "konyhai bútorokkal", "konyhai berendezésekkel", "világítótestekkel", "egyéb:"})},
        {"rBurkolat", "BurkolatId", "BurkolatText",
         list({"parketta", "járólap", "kő", "műkő", "szőnyegpadló", "pvc", "linóleum", "beton",
               "egyéb:"})},
        {"rKonyhaTipus", "KonyhaId", "KonyhaText",
         list({"hagyományos", "amerikai", "főzőfülke", "egyéb"})},
        {"rElhelyezkedes", "ElhelyezkedesId", "ElhelyezkedesText",
         list({"főút mellett", "vízparton", "panoráma"})},
        {"rOvezet", "OvezetId", "OvezetText",
         list({"lakó", "belvárosi", "zöldövezeti", "üdülő", "vegyes", "zárt kert", "külterület",
               "ipari", "kereskedelmi"})},
        {"rFekves", "FekvesId", "FekvesText",
         list({"déli", "dél-keleti", "keleti", "észak-nyugati", "nyugati", "dél-nyugati",
               "észak-keleti", "északi"})},
        {"rAllag", "AllagId", "AllagText",
         list({"újszerű", "elfogadható", "felújítandó", "befejezetlen", "egyéb"})},
    };
    return lists;
}

const QList<QPair<const char *, const char *>> &counters()
{
    static const QList<QPair<const char *, const char *>> all {
        {"rOsszhelyseg", "OsszHelyseg"},
        {"rSzoba", "Szoba"},
        {"rFelszoba", "Felszoba"},
        {"rNappali", "Nappali"},
        {"rKonyha", "Konyha"},
        {"rHall", "Hall"},
        {"rEtkezo", "Etkezo"},
        {"rTerasz", "Terasz"},
        {"rFurdoszoba", "Furdoszoba"},
        {"rWc", "Wc"},
        {"rKamra", "Kamra"},
        {"rTarolo", "Tarolo"},
        {"rPince", "Pince"},
        {"rMellekepulet", "Mellekepulet"},
        {"rSzuterin", "Szuterin"},
        {"rGarazs", "Garazs"},
        {"rGarazsFerohely", "GarazsFerohely"},
        {"rEgyeb", "Egyeb"},
        {"rSzintekszama", "Szintekszama"},
        {"rLakhatoSzint", "LakhatoSzint"}};
    return all;
}

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return ::control<T>(parent, name);
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Types into a number edit the way a user does: select what is there, type, leave with Tab.
void typeNumber(NumberEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    edit->interpretText();
}

// A shown description over a real `reszletes` table.
struct DescriptionForm
{
    TempDataDir dir;
    Database db {dir.path()};
    Cursor reszletes {db, tables::reszletes, false};
    DetailedDescription widget;

    DescriptionForm()
    {
        reszletes.open();
        widget.show();
    }

    // Posts what `shown` holds as a new record and returns it read back.
    Record store(DetailedDescription &shown)
    {
        reszletes.append();
        shown.writeTo(reszletes);
        reszletes.post();
        return reszletes.record();
    }
    Record store() { return store(widget); }
};

} // namespace

// The detailed description as the user fills it in, and the record it writes.
class TestReszletes : public QObject
{
    Q_OBJECT

private slots:
    void everyListAtFullLength()
    {
        DescriptionForm form;
        DetailedDescription &widget = form.widget;

        for (const ExpectedList &expected : expectedLists()) {
            auto *list = child<CheckList>(&widget, expected.name);
            QCOMPARE(list->captions(), expected.captions);
            for (int i = 0; i < list->options().size(); ++i) {
                QCOMPARE(list->option(i)->text(), expected.captions[i]);
                click(list->option(i));
            }
        }
        const Record all = form.store();
        for (const ExpectedList &expected : expectedLists()) {
            QCOMPARE(all.text(QString::fromLatin1(expected.idField)),
                     QString(expected.captions.size(), QLatin1Char('1')));
            QCOMPARE(all.text(QString::fromLatin1(expected.textField)),
                     expected.captions.join(QStringLiteral(", ")));
        }

        QCOMPARE(widget.alak()->captions(),
                 list({"négyzet", "téglalap", "trapéz", "L alak", "T alak", "szabálytalan",
                       "háromszög", "egyéb", "nincs"}));
        QCOMPARE(widget.komfort()->captions(),
                 list({"összkomfortos", "komfortos", "félkomfortos", "komfort nélküli", "luxus"}));
        click(widget.alak()->option(8));
        click(widget.komfort()->option(4));
        const Record chosen = form.store();
        QCOMPARE(chosen.integer(QStringLiteral("AlakId")), 8);
        QCOMPARE(chosen.text(QStringLiteral("AlakText")), QStringLiteral("nincs"));
        QCOMPARE(chosen.integer(QStringLiteral("KomfortId")), 4);
        QCOMPARE(chosen.text(QStringLiteral("KomfortText")), QStringLiteral("luxus"));
    }

    void listsFromTheirFlagStrings()
    {
        DetailedDescription widget;
        widget.show();
        auto *parkolas = child<CheckList>(&widget, "rParkolas");
        click(parkolas->option(0));
        click(parkolas->option(2));
        QCOMPARE(parkolas->flagString(), QStringLiteral("1010"));
        QCOMPARE(parkolas->captionList(), QStringLiteral("garázs, nincs"));

        auto *falak = child<CheckList>(&widget, "rFalakAnyaga");
        click(falak->option(0));
        QCOMPARE(falak->flagString(), QStringLiteral("100000000000"));

        auto *teto = child<CheckList>(&widget, "rTeto");
        click(teto->option(5));
        QCOMPARE(teto->flagString(), QStringLiteral("000001"));
        QCOMPARE(teto->captionList(), QStringLiteral("egyéb:"));

        auto *udvar = child<CheckList>(&widget, "rUdvar");
        for (QCheckBox *box : udvar->options())
            click(box);
        udvar->tickFrom(QStringLiteral("0101"));
        QCOMPARE(udvar->ticks(), (QList<bool> {false, true, false, true, false, false}));
        QCOMPARE(udvar->captionList(), QStringLiteral("füvesített, konyhakert"));
        udvar->tickFrom(QString());
        QCOMPARE(udvar->flagString(), QStringLiteral("000000"));
        QCOMPARE(udvar->captionList(), QString());
    }

    void clearingAndTheRecordItGives()
    {
        DescriptionForm form;
        DetailedDescription &widget = form.widget;

        // Touch a bit of everything, then clear.
        click(widget.alak()->option(3));
        click(widget.komfort()->option(2));
        for (const ExpectedList &expected : expectedLists())
            click(child<CheckList>(&widget, expected.name)->option(0));
        for (const char *text :
             {"rTetoEgyeb", "rFelszereltsegEgyeb", "rBurkolatEgyeb", "rEgyebText"})
            QTest::keyClicks(child<QLineEdit>(&widget, text), QStringLiteral("valami"));
        typeNumber(child<NumberEdit>(&widget, "rSzoba"), QStringLiteral("4"));
        click(child<QCheckBox>(&widget, "rWcFurdo"));
        QTest::keyClicks(child<QPlainTextEdit>(&widget, "rMegjegyzes"),
                         QStringLiteral("megjegyzes"));

        widget.clear();
        const Record cleared = form.store();
        QCOMPARE(cleared.integer(QStringLiteral("AlakId")), 0);
        QCOMPARE(cleared.text(QStringLiteral("AlakText")), QStringLiteral("négyzet"));
        QCOMPARE(cleared.integer(QStringLiteral("KomfortId")), 0);
        QCOMPARE(cleared.text(QStringLiteral("KomfortText")), QStringLiteral("összkomfortos"));
        for (const ExpectedList &expected : expectedLists()) {
            QCOMPARE(cleared.text(QString::fromLatin1(expected.idField)),
                     QString(expected.captions.size(), QLatin1Char('0')));
            QCOMPARE(cleared.text(QString::fromLatin1(expected.textField)), QString());
        }
        for (const char *field :
             {"TetoEgyeb", "FelszereltsegEgyeb", "BurkolatEgyeb", "EgyebText", "Megjegyzes"})
            QCOMPARE(cleared.text(QString::fromLatin1(field)), QString());
        for (const auto &counter : counters()) {
            QCOMPARE(child<NumberEdit>(&widget, counter.first)->text(), QStringLiteral("0 darab"));
            QCOMPARE(cleared.integer(QString::fromLatin1(counter.second)), 0);
        }
        QCOMPARE(cleared.boolean(QStringLiteral("WcFurdo")), false);
    }

    void countersTextsAndMemo()
    {
        DescriptionForm form;
        DetailedDescription &widget = form.widget;

        auto *szoba = child<NumberEdit>(&widget, "rSzoba");
        typeNumber(szoba, QStringLiteral("3"));
        QCOMPARE(szoba->text(), QStringLiteral("3 darab"));
        typeNumber(child<NumberEdit>(&widget, "rWc"), QStringLiteral("2,5"));
        typeNumber(child<NumberEdit>(&widget, "rKamra"), QStringLiteral("3,5"));
        typeNumber(child<NumberEdit>(&widget, "rKonyha"), QStringLiteral("2,6"));
        typeNumber(child<NumberEdit>(&widget, "rLakhatoSzint"), QStringLiteral("2"));
        // A count no 16-bit field holds is kept at its largest value rather than wrapping.
        typeNumber(child<NumberEdit>(&widget, "rTarolo"), QStringLiteral("40000"));
        QTest::keyClicks(child<QLineEdit>(&widget, "rTetoEgyeb"), QString(150, QLatin1Char('x')));
        child<QLineEdit>(&widget, "rEgyebText")->insert(QStringLiteral("kazánház"));
        auto *memo = child<QPlainTextEdit>(&widget, "rMegjegyzes");
        memo->setPlainText(QStringLiteral("első sor\nmásodik sor"));
        click(child<QCheckBox>(&widget, "rWcFurdo"));

        const Record stored = form.store();
        QCOMPARE(stored.integer(QStringLiteral("Szoba")), 3);
        QCOMPARE(stored.integer(QStringLiteral("Wc")), 2);
        QCOMPARE(stored.integer(QStringLiteral("Kamra")), 4);
        QCOMPARE(stored.integer(QStringLiteral("Konyha")), 3);
        QCOMPARE(stored.integer(QStringLiteral("LakhatoSzint")), 2);
        QCOMPARE(stored.integer(QStringLiteral("Tarolo")), 32767);
        QCOMPARE(stored.text(QStringLiteral("TetoEgyeb")), QString(100, QLatin1Char('x')));
        QCOMPARE(stored.text(QStringLiteral("EgyebText")), QStringLiteral("kazánház"));
        QCOMPARE(stored.text(QStringLiteral("Megjegyzes")),
                 QStringLiteral("első sor\r\nmásodik sor"));
        QCOMPARE(stored.boolean(QStringLiteral("WcFurdo")), true);
    }

    void loadingAStoredDescription()
    {
        DescriptionForm form;
        DetailedDescription &entered = form.widget;
        click(entered.alak()->option(5));
        click(entered.komfort()->option(1));
        const QStringList flags {QStringLiteral("010000000001"), QStringLiteral("01"),
                                 QStringLiteral("1"), QStringLiteral("0011")};
        int n = 0;
        for (const ExpectedList &expected : expectedLists())
            child<CheckList>(&entered, expected.name)->tickFrom(flags[n++ % flags.size()]);
        n = 0;
        for (const auto &counter : counters())
            typeNumber(child<NumberEdit>(&entered, counter.first), QString::number(++n));
        child<QLineEdit>(&entered, "rBurkolatEgyeb")->insert(QStringLiteral("márvány"));
        child<QPlainTextEdit>(&entered, "rMegjegyzes")->setPlainText(QStringLiteral("a\nb"));
        const Record first = form.store();

        // Another window (modify, browse) shows it and would store the very same values.
        DetailedDescription shown;
        shown.loadFrom(first);
        QCOMPARE(child<QPlainTextEdit>(&shown, "rMegjegyzes")->toPlainText(),
                 QStringLiteral("a\nb"));
        QCOMPARE(child<CheckList>(&shown, "rFalakAnyaga")->option(1)->isChecked(), true);
        QCOMPARE(child<CheckList>(&shown, "rFalakAnyaga")->option(11)->isChecked(), true);
        const Record second = form.store(shown);
        for (const FieldDef &field : tables::def(tables::reszletes).fields) {
            if (field.name != QLatin1String("Id"))
                QCOMPARE(second.value(field.name), first.value(field.name));
        }

        // A stored choice the list does not have shows nothing chosen.
        form.reszletes.edit();
        form.reszletes.setValue(QStringLiteral("AlakId"), 12);
        form.reszletes.post();
        shown.loadFrom(form.reszletes.record());
        QCOMPARE(shown.alak()->index(), -1);
        QCOMPARE(shown.alak()->caption(), QString());
    }

    void browseWording()
    {
        DetailedDescription widget;
        widget.useBrowseCaptions();
        QVERIFY(widget.findChild<QPlainTextEdit *>(QStringLiteral("nMegjegyzes")));
        QVERIFY(!widget.findChild<QPlainTextEdit *>(QStringLiteral("rMegjegyzes")));
        QCOMPARE(widget.alak()->title(), QStringLiteral(" Ingatlan alakja "));
        QStringList titles;
        for (const QGroupBox *group : widget.findChildren<QGroupBox *>())
            titles << group->title();
        QVERIFY(titles.contains(QStringLiteral(" Helyiségek ")));
        QVERIFY(titles.contains(QStringLiteral(" Elhelyzekedés")));
        QStringList labels;
        for (const QLabel *label : widget.findChildren<QLabel *>())
            labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Össz helyiség száma:")));
        QVERIFY(labels.contains(QStringLiteral("Terasz::")));
    }

    void wheelAndMinusLeaveTheCountsAlone()
    {
        ReszletesPanel panel;
        panel.resize(700, 500);
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        auto *total = child<NumberEdit>(&panel, "rOsszhelyseg");
        auto *rooms = child<NumberEdit>(&panel, "rSzoba");
        // Turns the wheel over the edit; true when the edit took it (an ignored turn goes on to
        // the scrolling area around it).
        auto wheel = [](QWidget *edit, int notches) {
            const QPointF at = QRectF(edit->rect()).center();
            QWheelEvent event(at, edit->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(edit, &event);
            return event.isAccepted();
        };

        // Scrolling the form over a counter the user is not in: the count stays, the form
        // gets the wheel.
        rooms->setFocus();
        QVERIFY(!wheel(total, -4));
        QVERIFY(!wheel(total, 25));
        QCOMPARE(total->value(), 0.0);
        QVERIFY(rooms->hasFocus());

        // In the counter the wheel counts, but never below zero.
        total->setFocus();
        QVERIFY(wheel(total, 3));
        QCOMPARE(total->value(), 3.0);
        wheel(total, -29);
        QCOMPARE(total->value(), 0.0);

        // A minus typed is refused, for every counter and in the stored record too.
        typeNumber(total, QStringLiteral("-4"));
        QCOMPARE(total->value(), 4.0);
        QCOMPARE(total->text(), QStringLiteral("4 darab"));
        typeNumber(rooms, QStringLiteral("-"));
        QCOMPARE(rooms->value(), 0.0);
        QCOMPARE(panel.description()->values().value(QStringLiteral("OsszHelyseg")).toInt(), 4);
    }

    void panelsAndSwitching()
    {
        ReszletesPanel panel;
        panel.resize(700, 500);
        panel.show();
        QCOMPARE(panel.objectName(), QStringLiteral("pReszletes"));
        QSignalSpy back(&panel, &ReszletesPanel::backRequested);
        auto *button = child<QPushButton>(&panel, "Button10");
        QCOMPARE(button->text(), QStringLiteral("<< Vissza az egyszerűbb leíráshoz"));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(back.count(), 1);

        QScrollBar *bar = panel.findChild<QScrollArea *>()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        click(panel.description()->alak()->option(2));
        panel.clear();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(panel.description()->alak()->index(), 0);

        TempDataDir dir;
        Database db(dir.path());
        RegisterState cursors(db);
        cursors.tdTulaj.open();
        RegisterWindows windows;
        NewPropertyPanel pNew(cursors, windows);
        pNew.show();
        QSignalSpy detailed(&pNew, &NewPropertyPanel::detailedRequested);
        auto *check = child<QCheckBox>(&pNew, "nReszletes");
        auto *open = child<QPushButton>(&pNew, "nReszletesGomb");
        QCOMPARE(check->text(), QStringLiteral("Van részletes leírás"));
        QCOMPARE(open->text(), QStringLiteral("Részletes leírás >>"));
        QVERIFY(!open->isEnabled());
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(detailed.count(), 0);
        click(check);
        QVERIFY(open->isEnabled());
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(detailed.count(), 1);
        click(check);
        QVERIFY(!open->isEnabled());
    }
};

QTEST_MAIN(TestReszletes)
#include "test_reszletes.moc"
