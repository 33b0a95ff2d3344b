#include "register/archivum.h"
#include "register/askdel.h"
#include "register/optionlists.h"
#include "tests/register/registerfixture.h"
#include "tests/register/windowchecks.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/typing.h"
#include "widgets/cursorgrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

template<typename T>
T *get(QWidget *window, const char *name)
{
    return ::control<T>(window, name);
}

void press(QWidget *window, const char *button)
{
    QTest::mouseClick(get<QPushButton>(window, button), Qt::LeftButton);
}

// Clicks a choice on its circle: a click right of a short caption misses the button.
void choose(RadioChoice *choice, int index)
{
    QRadioButton *option = choice->option(index);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

void selectRow(CursorGrid *grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, 0)).center());
}

// A register with two properties and an archive whose last record has the same number as the
// property to be archived, so owners linked by that number would be mixed up.
struct ArchiveFixture : RegisterFixture
{
    int other = 0;
    int property = 0;

    ArchiveFixture()
    {
        other = addProperty({{u"Azonosito"_s, u"MARAD"_s}});
        addOwner(c.tTulajdonos, other, u"Marad Mária"_s);
        property = addProperty({{u"Azonosito"_s, u"ELMEGY"_s},
                                {u"TipusText"_s, u"Lakás"_s},
                                {u"Ar"_s, 31000000},
                                {u"CimVaros"_s, u"Szeged"_s},
                                {u"MegbizoNev"_s, u"Kiss Péter"_s},
                                {u"LeirasMagyar"_s, u"szép\r\nház"_s},
                                {u"Kep1"_s, photoFileName(2, 1)},
                                {u"Reszletes"_s, true},
                                {u"Web"_s, true},
                                {u"Start"_s, u"2026. 01. 02. 10:00:00"_s},
                                {u"Change"_s, u"2026. 02. 03. 11:00:00"_s},
                                {u"Print"_s, true}});
        addOwner(c.tTulajdonos, property, u"Első Tulaj"_s, u"111"_s);
        addOwner(c.tTulajdonos, property, u"Második Tulaj"_s, u"222"_s);
        c.tTulajdonos.close();
        addDetailed(property, {{u"Szoba"_s, 2}});
        writePhoto(photoFileName(property, 1), 50);
        for (int i = 1; i <= property; ++i)
            append(c.tArchiv,
                   {{u"Azonosito"_s, QStringLiteral("ARCH-%1").arg(i)}, {u"Ok"_s, u"régi"_s}});
        addOwner(c.tArchivTulaj, property, u"Régi Tulaj"_s);
        c.tArchiv.close();
        c.tArchivTulaj.close();
        selectProperty(property);
    }

    int count(const QString &table, const QString &where) const
    {
        return single(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, where)).toInt();
    }
    // The stored fields of the property, as the archive copy must hold them.
    QStringList storedFields(const QString &table, int id) const
    {
        QStringList fields =
            rows(table, QStringLiteral("Id = %1").arg(id)).value(0).split(QLatin1Char('|'));
        fields.removeFirst(); // Id
        QStringList kept;
        for (const QString &field : fields) {
            const QString name = field.section(QLatin1Char('='), 0, 0);
            if (name != u"Print"_s && name != u"Ok"_s && name != u"Stop"_s &&
                !name.endsWith(u"_f"_s) && !name.endsWith(u"_k"_s))
                kept << field;
        }
        return kept;
    }
};

} // namespace

class TestArchiving : public QObject
{
    Q_OBJECT

private slots:
    void deleteWindow()
    {
        ArchiveFixture f;
        TfDel window(f.c);
        window.show();
        QCOMPARE(window.windowTitle(), u"Pelmora - Törlés"_s);
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        auto *oka = get<RadioChoice>(&window, "dOka");
        auto *egyeb = get<QLineEdit>(&window, "dEgyeb");
        auto *vegleg = get<QCheckBox>(&window, "dVegleg");
        QCOMPARE(oka->captions().size(), 6);
        QCOMPARE(oka->index(), 0);
        QVERIFY(egyeb->isEnabled() && egyeb->text().isEmpty());
        QVERIFY(!vegleg->isChecked());
        QCOMPARE(get<QPushButton>(&window, "BitBtn2")->text(), u"&Mégsem"_s);

        choose(oka, 1);
        QVERIFY(!egyeb->isEnabled());
        choose(oka, 4);
        QVERIFY(egyeb->isEnabled());
        QTest::mouseClick(vegleg, Qt::LeftButton);
        QVERIFY(!oka->isEnabled() && !egyeb->isEnabled());
        QTest::mouseClick(vegleg, Qt::LeftButton);
        QVERIFY(oka->isEnabled() && egyeb->isEnabled());

        // Enter cancels; the window itself is the only confirmation.
        const QStringList before = f.snapshot();
        typeText(egyeb, u"valami"_s);
        QTest::keyClick(egyeb, Qt::Key_Return);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(f.snapshot(), before);
    }

    void archiving_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("sold") << 0 << QString() << u"az ingatlan eladva"_s;
        QTest::newRow("expired") << 4 << QString() << u"megbízás lejárt"_s;
        QTest::newRow("typed under own sale") << 3 << u"nem kell"_s << u"saját eladás"_s;
        QTest::newRow("other typed") << 5 << u"Elcserélték"_s << u"Elcserélték"_s;
        QTest::newRow("other empty") << 5 << QString() << QString();
        QTest::newRow("other too long")
            << 5 << QString(300, QLatin1Char('x')) << QString(255, QLatin1Char('x'));
        QTest::newRow("apostrophe") << 5 << u"O'Brien vette meg"_s << u"O'Brien vette meg"_s;
    }

    void archiving()
    {
        QFETCH(int, reason);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        ArchiveFixture f;
        const QStringList propertyFields = f.storedFields(tables::egyszeru, f.property);
        const QStringList detailedBefore = f.rows(tables::reszletes);
        TfDel window(f.c);
        window.show();
        choose(get<RadioChoice>(&window, "dOka"), reason);
        if (!typed.isEmpty())
            get<QLineEdit>(&window, "dEgyeb")->setText(typed);
        press(&window, "BitBtn1");
        QVERIFY(!window.isVisible());

        const int archived = f.property + 1;
        QCOMPARE(f.count(tables::archiv, u"1"_s), f.property + 1);
        QCOMPARE(f.storedFields(tables::archiv, archived), propertyFields);
        QCOMPARE(f.single(QStringLiteral("SELECT Ok FROM archiv WHERE Id = %1").arg(archived))
                     .toString(),
                 stored);
        QVERIFY(!f.single(QStringLiteral("SELECT Stop FROM archiv WHERE Id = %1").arg(archived))
                     .toString()
                     .isEmpty());
        QCOMPARE(f.count(tables::archivtulaj,
                         QStringLiteral("EgyszeruId = %1 AND Telefon <> ''").arg(archived)),
                 2);
        // The older archive record with the property's number keeps its own owner only.
        QCOMPARE(f.count(tables::archivtulaj, QStringLiteral("EgyszeruId = %1").arg(f.property)),
                 1);
        QCOMPARE(f.count(tables::egyszeru, QStringLiteral("Id = %1").arg(f.property)), 0);
        QCOMPARE(f.count(tables::tulajdonos, QStringLiteral("EgyszeruId = %1").arg(f.property)), 0);
        QCOMPARE(f.count(tables::tulajdonos, QStringLiteral("EgyszeruId = %1").arg(f.other)), 1);
        QCOMPARE(f.rows(tables::reszletes), detailedBefore);
        QCOMPARE(f.photoWidth(photoFileName(f.property, 1)), 50);
    }

    void outrightAndHighNumbers()
    {
        ArchiveFixture f;
        const QStringList archiveBefore = f.rows(tables::archiv) + f.rows(tables::archivtulaj);
        TfDel window(f.c);
        window.show();
        QTest::mouseClick(get<QCheckBox>(&window, "dVegleg"), Qt::LeftButton);
        press(&window, "BitBtn1");
        QCOMPARE(f.count(tables::egyszeru, QStringLiteral("Id = %1").arg(f.property)), 0);
        QCOMPARE(f.count(tables::tulajdonos, QStringLiteral("EgyszeruId = %1").arg(f.property)), 0);
        QCOMPARE(f.rows(tables::archiv) + f.rows(tables::archivtulaj), archiveBefore);
        QCOMPARE(f.count(tables::reszletes, QStringLiteral("EgyszeruId = %1").arg(f.property)), 1);
        QCOMPARE(f.photoWidth(photoFileName(f.property, 1)), 50);

        // A property numbered past 32767 takes its owners into the archive.
        f.db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = 39999 WHERE name = 'egyszeru'"));
        const int big = f.addProperty({{u"Azonosito"_s, u"NAGY"_s}});
        QCOMPARE(big, 40000);
        f.addOwner(f.c.tTulajdonos, big, u"Tóth Ede"_s);
        f.c.tTulajdonos.close();
        f.selectProperty(big);
        TfDel second(f.c);
        second.show();
        press(&second, "BitBtn1");
        const int archived = f.single(u"SELECT max(Id) FROM archiv"_s).toInt();
        QCOMPARE(f.count(tables::archivtulaj,
                         QStringLiteral("EgyszeruId = %1 AND Nev = 'Tóth Ede'").arg(archived)),
                 1);
    }

    void archiveWindow()
    {
        ArchiveFixture f;
        // Three records of their own: owners a and b, none, c.
        f.db.exec(u"DELETE FROM archiv"_s);
        f.db.exec(u"DELETE FROM archivtulaj"_s);
        const int first = f.append(
            f.c.tArchiv,
            {{u"Azonosito"_s, u"A-1"_s}, {u"MegbizoNev"_s, u"Első Megbízó"_s}, {u"Web"_s, true}});
        const int second = f.append(f.c.tArchiv, {{u"Azonosito"_s, u"A-2"_s}});
        const int third = f.append(
            f.c.tArchiv, {{u"Azonosito"_s, u"A-3"_s}, {u"MegbizoNev"_s, u"Harmadik Megbízó"_s}});
        f.addOwner(f.c.tArchivTulaj, first, u"a"_s);
        f.addOwner(f.c.tArchivTulaj, first, u"b"_s);
        f.addOwner(f.c.tArchivTulaj, third, u"c"_s);
        f.c.tArchiv.close();
        f.c.tArchivTulaj.close();

        auto window = std::make_unique<TfArchivum>(f.c);
        window->show();
        QCOMPARE(window->windowTitle(), u"Pelmora - Törölt ingatlanok archívuma"_s);
        auto *grid = get<CursorGrid>(window.get(), "DBGrid1");
        auto *owners = get<CursorGrid>(window.get(), "DBGrid3");
        QCOMPARE(grid->model()->columnCount(), 4);
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), u"Törlés oka"_s);
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(get<QTabWidget>(window.get(), "PageControl1")->currentIndex(), 1);
        QCOMPARE(owners->model()->rowCount(), 2);
        auto *principal = get<QLineEdit>(window.get(), "MegbizoNev");
        QCOMPARE(principal->text(), u"Első Megbízó"_s);
        QVERIFY(get<QCheckBox>(window.get(), "Web")->isChecked());

        selectRow(grid, 2);
        QCOMPARE(owners->model()->rowCount(), 1);
        QCOMPARE(owners->model()->index(0, 0).data().toString(), u"c"_s);
        QCOMPARE(principal->text(), u"Harmadik Megbízó"_s);
        QVERIFY(!get<QCheckBox>(window.get(), "Web")->isChecked());
        // The archive is a record: typing and clicking change nothing.
        const QStringList before = f.snapshot();
        QVERIFY(principal->isReadOnly());
        QTest::keyClicks(principal, u"xyz"_s);
        QTest::mouseClick(get<QCheckBox>(window.get(), "Web"), Qt::LeftButton);
        QCOMPARE(principal->text(), u"Harmadik Megbízó"_s);
        QVERIFY(!get<QCheckBox>(window.get(), "Web")->isChecked());

        // Deleting for good asks first; only "OK" deletes.
        selectRow(grid, 0);
        DialogAnswerer answerer;
        answerer.answer(u"Mégsem"_s);
        press(window.get(), "BitBtn2");
        QCOMPARE(answerer.lastSeen(),
                 u"Az adat véglegesen törlődik az adatbázisból! Biztosan folytatja?"_s);
        QCOMPARE(f.snapshot(), before);
        answerer.answer(u"OK"_s);
        press(window.get(), "BitBtn2");
        QCOMPARE(f.count(tables::archiv, u"1"_s), 2);
        QCOMPARE(f.count(tables::archivtulaj, QStringLiteral("EgyszeruId = %1").arg(first)), 0);
        QCOMPARE(f.count(tables::archivtulaj, QStringLiteral("EgyszeruId = %1").arg(third)), 1);
        QCOMPARE(f.c.tArchiv.integer(u"Id"_s), second); // on to the following record
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(owners->model()->rowCount(), 0);

        // On an empty archive the button does nothing at all.
        for (int i = 0; i < 2; ++i) {
            answerer.answer(u"OK"_s);
            press(window.get(), "BitBtn2");
        }
        QCOMPARE(f.count(tables::archiv, u"1"_s), 0);
        QVERIFY(!opensAWindow([&] { press(window.get(), "BitBtn2"); }));

        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void failuresChangeNothing()
    {
        ArchiveFixture f;
        DialogAnswerer answerer;
        // Archiving and outright deletion: the last write, deleting the property, fails.
        f.db.exec(QString::fromUtf8(
            "CREATE TRIGGER fail BEFORE DELETE ON egyszeru BEGIN SELECT RAISE(ABORT, "
            "'teszt'); END"));
        const QStringList before = f.snapshot();
        for (bool outright : {false, true}) {
            TfDel window(f.c);
            window.show();
            if (outright)
                QTest::mouseClick(get<QCheckBox>(&window, "dVegleg"), Qt::LeftButton);
            answerer.answer(u"OK"_s);
            press(&window, "BitBtn1");
            QVERIFY(answerer.lastSeen().contains(u"teszt"_s));
            QVERIFY(window.isVisible());
            QCOMPARE(f.snapshot(), before);
            QCOMPARE(f.c.tEgyszeru.integer(u"Id"_s), f.property);
        }
        f.db.exec(u"DROP TRIGGER fail"_s);

        // Deleting for good: the archive record itself cannot go.
        f.db.exec(QString::fromUtf8(
            "CREATE TRIGGER fail BEFORE DELETE ON archiv BEGIN SELECT RAISE(ABORT, 'teszt'); END"));
        TfArchivum window(f.c);
        window.show();
        selectRow(get<CursorGrid>(&window, "DBGrid1"), f.property - 1);
        answerer.answer(u"OK"_s);
        answerer.answer(u"OK"_s);
        press(&window, "BitBtn2");
        QVERIFY(answerer.lastSeen().contains(u"teszt"_s));
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(get<CursorGrid>(&window, "DBGrid3")->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestArchiving)
#include "test_archiving.moc"
