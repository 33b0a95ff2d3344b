#include "register/archiving.h"
#include "register/archivum.h"
#include "register/naplo.h"
#include "register/propertystore.h"
#include "register/talloz.h"
#include "register/workingowners.h"
#include "store/changelog.h"
#include "store/storeerror.h"
#include "store/textformat.h"
#include "tests/register/registerfixture.h"
#include "tests/register/windowchecks.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/errorof.h"
#include "widgets/cursorgrid.h"

#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QTableView>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Action and details of each entry, newest first.
QStringList told(const QList<changelog::Entry> &entries)
{
    QStringList out;
    for (const changelog::Entry &entry : entries)
        out << entry.action + u" | "_s + entry.details;
    return out;
}

QStringList actionsOf(const QList<changelog::Entry> &entries)
{
    QStringList out;
    for (const changelog::Entry &entry : entries)
        out << entry.action;
    return out;
}

// The rows a log window shows, each its cells joined.
QStringList shownRows(QWidget *window)
{
    auto *grid = control<QTableView>(window, u"DBGrid1"_s);
    QStringList out;
    for (int row = 0; grid && row < grid->model()->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            cells << grid->model()->index(row, column).data().toString();
        out << cells.join(u" | "_s);
    }
    return out;
}

void press(QWidget *window, const char *button)
{
    QTest::mouseClick(control<QPushButton>(window, QLatin1String(button)), Qt::LeftButton);
}

struct ShownLog
{
    QString caption;
    QString heading;
    QStringList rows;
};

// Presses the window's "Napló" and reads the log window it opens, which it then closes.
ShownLog openLog(QWidget *window)
{
    ShownLog shown;
    DialogAnswerer answerer;
    answerer.handle(
        [&](QWidget *log) {
            shown.caption = log->windowTitle();
            shown.heading = control<QLabel>(log, u"lAzonosito"_s)->text();
            shown.rows = shownRows(log);
            press(log, "BitBtn1");
        },
        u"fNaplo"_s);
    press(window, "bNaplo");
    return shown;
}

void selectRow(CursorGrid *grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}

struct LogFixture : RegisterFixture
{
    LogFixture()
    {
        // The archive numbers its records on its own: give it a head start, so a log keyed by
        // the wrong number would show another property's entries.
        for (int i = 0; i < 5; ++i)
            append(c.tArchiv, {{u"Azonosito"_s, u"RÉGI-%1"_s.arg(i)}, {u"Ok"_s, u"régi"_s}});
        c.tArchiv.close();
    }

    int store(const QString &identifier, const QStringList &owners = {},
              const DetailedWriter &detailed = {})
    {
        emptyWorkingOwners(c.tdTulaj);
        for (const QString &name : owners)
            append(c.tdTulaj, {{u"Nev"_s, name}});
        NewProperty property;
        property.fields = {{u"Azonosito"_s, identifier},
                           {u"TipusText"_s, u"Lakás"_s},
                           {u"Ar"_s, 25000000},
                           {u"CimVaros"_s, u"Szeged"_s},
                           {u"CimMegye"_s, u"Csongrád"_s}};
        property.detailed = bool(detailed);
        property.writeDetailed = detailed;
        return storeNewProperty(c, property);
    }

    void modify(int id, const QList<QPair<QString, QVariant>> &fields,
                const DetailedWriter &detailed, const QString &newOwner = {})
    {
        selectProperty(id);
        loadWorkingOwners(c, id);
        if (!newOwner.isEmpty())
            append(c.modifyWorkingOwners, {{u"Nev"_s, newOwner}});
        PropertyChanges changes;
        changes.fields = fields;
        changes.writeDetailed = detailed;
        saveModifiedProperty(c, changes);
    }
};

DetailedWriter rooms(int count)
{
    return [count](Cursor &detailed) {
        detailed.setValue(u"Szoba"_s, count);
    };
}

DetailedWriter failing()
{
    return [](Cursor &) {
        throw StoreError(u"A részletes adatok nem írhatók."_s);
    };
}

} // namespace

// The office's change log of the register: what storing, saving, archiving and deleting write
// into it, and the log window of the browse and archive windows.
class TestNaplo : public QObject
{
    Q_OBJECT

private slots:
    void storeAndModifyAreLogged()
    {
        LogFixture f;
        const int other = f.store(u"MÁSIK"_s);
        const int id = f.store(u"N-1"_s, {u"Kiss Anna"_s}, rooms(2));
        QList<changelog::Entry> entries = changelog::ofProperty(f.db, id);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].action, u"Felvitel"_s);
        QCOMPARE(entries[0].identifier, u"N-1"_s);
        QCOMPARE(entries[0].propertyId, id);
        QCOMPARE(entries[0].workstation, QSysInfo::machineHostName());
        QCOMPARE(entries[0].user, changelog::userName(f.db));
        QCOMPARE(entries[0].details, u"Lakás, Szeged, "_s + textformat::moneyText(25000000));

        // Only what the user changed is named: the price, the street, an owner more and the
        // detailed description; the identifier given again unchanged is no change.
        f.modify(id, {{u"Azonosito"_s, u"N-1"_s}, {u"Ar"_s, 26000000}, {u"CimUtca"_s, u"Fő u."_s}},
                 rooms(3), u"Nagy Béla"_s);
        f.modify(id, {{u"Ar"_s, 26000000}}, rooms(3));
        // The detailed record follows a new identifier; that is no change of its own.
        f.modify(id, {{u"Azonosito"_s, u"N-1B"_s}}, rooms(3));
        f.modify(id, {{u"CimUtca"_s, u"Fő u."_s}}, {});
        entries = changelog::ofProperty(f.db, id);
        QCOMPARE(entries.first().identifier, u"N-1B"_s);
        QCOMPARE(told(entries),
                 (QStringList {u"Módosítás | részletes adatok"_s, u"Módosítás | Azonosito"_s,
                               u"Módosítás | Nem változott adat."_s,
                               u"Módosítás | Ar, CimUtca, tulajdonosok, részletes adatok"_s,
                               u"Felvitel | "_s + entries.last().details}));
        QCOMPARE(actionsOf(changelog::ofProperty(f.db, other)), QStringList {u"Felvitel"_s});

        // A store or a save that fails half way is undone whole, its entry with it.
        const QStringList before = f.snapshot();
        QVERIFY(!errorOf([&] { f.store(u"N-2"_s, {u"Kovács Éva"_s}, failing()); }).isEmpty());
        QCOMPARE(f.snapshot(), before);
        QVERIFY(!errorOf([&] {
                     f.modify(id, {{u"Ar"_s, 1}}, failing(), u"Szabó Ede"_s);
                 }).isEmpty());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(changelog::ofProperty(f.db, id).size(), 5);
    }

    // The archive numbers its copy anew: the archived property's log is found by both numbers,
    // and stays through the deletion for good; a property deleted outright says so.
    void archivingAndDeletingAreLogged()
    {
        LogFixture f;
        const int id = f.store(u"ELMEGY"_s, {u"Első Tulaj"_s});
        f.modify(id, {{u"Ar"_s, 24000000}}, {});
        f.selectProperty(id);
        archiveProperty(f.c, u"az ingatlan eladva"_s);
        const int archived =
            f.single(u"SELECT Id FROM archiv WHERE Azonosito = 'ELMEGY'"_s).toInt();
        QVERIFY(archived != 0);
        QVERIFY(archived != id);

        QList<changelog::Entry> entries = changelog::ofArchived(f.db, archived);
        QCOMPARE(actionsOf(entries),
                 (QStringList {u"Archiválás"_s, u"Módosítás"_s, u"Felvitel"_s}));
        QCOMPARE(entries[0].details, u"az ingatlan eladva"_s);
        QCOMPARE(entries[0].propertyId, id);
        QCOMPARE(entries[0].archiveId, archived);
        QCOMPARE(entries[0].identifier, u"ELMEGY"_s);
        // The archive's other records have no part in it.
        QCOMPARE(changelog::ofArchived(f.db, id).size(), 0);

        f.c.tArchiv.open();
        QVERIFY(f.c.tArchiv.locate(filters::withId(archived)));
        deleteArchivedProperty(f.c);
        entries = changelog::ofProperty(f.db, id);
        QCOMPARE(
            actionsOf(entries),
            (QStringList {u"Végleges törlés"_s, u"Archiválás"_s, u"Módosítás"_s, u"Felvitel"_s}));
        QCOMPARE(entries[0].archiveId, archived);
        QCOMPARE(entries[0].details,
                 u"Törölve az archívumból (archiválás oka: az ingatlan eladva)."_s);
        f.c.tArchiv.close();

        const int outright = f.store(u"KIDOB"_s);
        f.selectProperty(outright);
        deletePropertyOutright(f.c);
        entries = changelog::ofProperty(f.db, outright);
        QCOMPARE(told(entries).first(),
                 u"Végleges törlés | Törölve a nyilvántartásból, archiválás nélkül."_s);
        QCOMPARE(entries.first().archiveId, 0);
    }

    // The browse window's "Napló" shows the current property's entries only, newest first.
    void browseWindowShowsThePropertysLog()
    {
        LogFixture f;
        const int first = f.store(u"ELSŐ"_s);
        const int second = f.store(u"MÁSODIK"_s);
        f.modify(first, {{u"Ar"_s, 1000000}}, {});
        f.modify(second, {{u"CimUtca"_s, u"Hold u."_s}}, {});
        f.selectProperty(second);

        TfTallozas browse(f.c, f.windows, [] {});
        browse.show();
        ShownLog shown = openLog(&browse);
        QCOMPARE(shown.caption, u"Napló"_s);
        QCOMPARE(shown.heading, u"Ingatlan: MÁSODIK"_s);
        QCOMPARE(shown.rows.size(), 2);
        const QString who = QSysInfo::machineHostName() + u" | "_s + changelog::userName(f.db);
        QVERIFY2(shown.rows[0].endsWith(who + u" | Módosítás | CimUtca"_s),
                 qPrintable(shown.rows[0]));
        QVERIFY2(shown.rows[1].contains(who + u" | Felvitel | "_s), qPrintable(shown.rows[1]));
        const QString today =
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        QVERIFY2(shown.rows[0].startsWith(today), qPrintable(shown.rows[0]));

        // On to the other property: its own log.
        f.selectProperty(first);
        shown = openLog(&browse);
        QCOMPARE(shown.heading, u"Ingatlan: ELSŐ"_s);
        QCOMPARE(shown.rows.size(), 2);
        QVERIFY(shown.rows[0].endsWith(u" | Módosítás | Ar"_s));
        browse.close();

        // With nothing to show the button is off.
        f.c.tEgyszeru.setFilterText(u"Azonosito = 'NINCS'"_s);
        f.c.tEgyszeru.setFiltered(true);
        TfTallozas empty(f.c, f.windows, [] {});
        empty.show();
        QVERIFY(!control<QPushButton>(&empty, u"bNaplo"_s)->isEnabled());
        QVERIFY(!opensAWindow([&] { press(&empty, "bNaplo"); }));
    }

    // The archive window's "Napló" shows the archived property's entries from its time in the
    // register on, whatever number the archive gave it.
    void archiveWindowShowsTheArchivedLog()
    {
        LogFixture f;
        const int id = f.store(u"ELSŐ"_s);
        f.store(u"MÁSODIK"_s);
        f.modify(id, {{u"Ar"_s, 1000000}}, {});
        f.selectProperty(id);
        archiveProperty(f.c, u"megbízás lejárt"_s);

        TfArchivum archive(f.c);
        archive.show();
        auto *grid = control<CursorGrid>(&archive, u"DBGrid1"_s);
        QCOMPARE(grid->model()->rowCount(), 6);
        selectRow(grid, 5);
        ShownLog shown = openLog(&archive);
        QCOMPARE(shown.heading, u"Ingatlan: ELSŐ"_s);
        QCOMPARE(shown.rows.size(), 3);
        QVERIFY(shown.rows[0].endsWith(u" | Archiválás | megbízás lejárt"_s));
        QVERIFY(shown.rows[1].endsWith(u" | Módosítás | Ar"_s));
        QVERIFY(shown.rows[2].contains(u" | Felvitel | "_s));
        // An archived property from before the log: an empty log, not another's.
        selectRow(grid, 0);
        shown = openLog(&archive);
        QCOMPARE(shown.heading, u"Ingatlan: RÉGI-0"_s);
        QCOMPARE(shown.rows, QStringList());
    }
};

QTEST_MAIN(TestNaplo)
#include "test_naplo.moc"
