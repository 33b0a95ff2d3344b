#include "archivum.h"
#include "askdel.h"
#include "controls.h"
#include "cursorgrid.h"
#include "dialoganswerer.h"
#include "optionlists.h"
#include "registerfixture.h"
#include "typing.h"
#include "windowchecks.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

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
        other = addProperty({{s("Azonosito"), s("MARAD")}});
        addOwner(c.tTulajdonos, other, s("Marad Mária"));
        property = addProperty({{s("Azonosito"), s("ELMEGY")},
                                {s("TipusText"), s("Lakás")},
                                {s("Ar"), 31000000},
                                {s("CimVaros"), s("Szeged")},
                                {s("MegbizoNev"), s("Kiss Péter")},
                                {s("LeirasMagyar"), s("szép\r\nház")},
                                {s("Kep1"), photoFileName(2, 1)},
                                {s("Reszletes"), true},
                                {s("Web"), true},
                                {s("Start"), s("2026. 01. 02. 10:00:00")},
                                {s("Change"), s("2026. 02. 03. 11:00:00")},
                                {s("Print"), true}});
        addOwner(c.tTulajdonos, property, s("Első Tulaj"), s("111"));
        addOwner(c.tTulajdonos, property, s("Második Tulaj"), s("222"));
        c.tTulajdonos.close();
        addDetailed(property, {{s("Szoba"), 2}});
        writePhoto(photoFileName(property, 1), 50);
        for (int i = 1; i <= property; ++i)
            append(c.tArchiv,
                   {{s("Azonosito"), QStringLiteral("ARCH-%1").arg(i)}, {s("Ok"), s("régi")}});
        addOwner(c.tArchivTulaj, property, s("Régi Tulaj"));
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
            if (name != s("Print") && name != s("Ok") && name != s("Stop") &&
                !name.endsWith(s("_f")) && !name.endsWith(s("_k")))
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
        QCOMPARE(window.windowTitle(), s("Pelmora - Törlés"));
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        auto *oka = get<RadioChoice>(&window, "dOka");
        auto *egyeb = get<QLineEdit>(&window, "dEgyeb");
        auto *vegleg = get<QCheckBox>(&window, "dVegleg");
        QCOMPARE(oka->captions().size(), 6);
        QCOMPARE(oka->index(), 0);
        QVERIFY(egyeb->isEnabled() && egyeb->text().isEmpty());
        QVERIFY(!vegleg->isChecked());
        QCOMPARE(get<QPushButton>(&window, "BitBtn2")->text(), s("&Mégsem"));

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
        typeText(egyeb, s("valami"));
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
        QTest::newRow("sold") << 0 << QString() << s("az ingatlan eladva");
        QTest::newRow("expired") << 4 << QString() << s("megbízás lejárt");
        QTest::newRow("typed under own sale") << 3 << s("nem kell") << s("saját eladás");
        QTest::newRow("other typed") << 5 << s("Elcserélték") << s("Elcserélték");
        QTest::newRow("other empty") << 5 << QString() << QString();
        QTest::newRow("other too long")
            << 5 << QString(300, QLatin1Char('x')) << QString(255, QLatin1Char('x'));
        QTest::newRow("apostrophe") << 5 << s("O'Brien vette meg") << s("O'Brien vette meg");
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
        QCOMPARE(f.count(tables::archiv, s("1")), f.property + 1);
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
        const int big = f.addProperty({{s("Azonosito"), s("NAGY")}});
        QCOMPARE(big, 40000);
        f.addOwner(f.c.tTulajdonos, big, s("Tóth Ede"));
        f.c.tTulajdonos.close();
        f.selectProperty(big);
        TfDel second(f.c);
        second.show();
        press(&second, "BitBtn1");
        const int archived = f.single(s("SELECT max(Id) FROM archiv")).toInt();
        QCOMPARE(f.count(tables::archivtulaj,
                         QStringLiteral("EgyszeruId = %1 AND Nev = 'Tóth Ede'").arg(archived)),
                 1);
    }

    void archiveWindow()
    {
        ArchiveFixture f;
        // Three records of their own: owners a and b, none, c.
        f.db.exec(s("DELETE FROM archiv"));
        f.db.exec(s("DELETE FROM archivtulaj"));
        const int first = f.append(
            f.c.tArchiv,
            {{s("Azonosito"), s("A-1")}, {s("MegbizoNev"), s("Első Megbízó")}, {s("Web"), true}});
        const int second = f.append(f.c.tArchiv, {{s("Azonosito"), s("A-2")}});
        const int third = f.append(
            f.c.tArchiv, {{s("Azonosito"), s("A-3")}, {s("MegbizoNev"), s("Harmadik Megbízó")}});
        f.addOwner(f.c.tArchivTulaj, first, s("a"));
        f.addOwner(f.c.tArchivTulaj, first, s("b"));
        f.addOwner(f.c.tArchivTulaj, third, s("c"));
        f.c.tArchiv.close();
        f.c.tArchivTulaj.close();

        auto window = std::make_unique<TfArchivum>(f.c);
        window->show();
        QCOMPARE(window->windowTitle(), s("Pelmora - Törölt ingatlanok archívuma"));
        auto *grid = get<CursorGrid>(window.get(), "DBGrid1");
        auto *owners = get<CursorGrid>(window.get(), "DBGrid3");
        QCOMPARE(grid->model()->columnCount(), 4);
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), s("Törlés oka"));
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(get<QTabWidget>(window.get(), "PageControl1")->currentIndex(), 1);
        QCOMPARE(owners->model()->rowCount(), 2);
        auto *principal = get<QLineEdit>(window.get(), "MegbizoNev");
        QCOMPARE(principal->text(), s("Első Megbízó"));
        QVERIFY(get<QCheckBox>(window.get(), "Web")->isChecked());

        selectRow(grid, 2);
        QCOMPARE(owners->model()->rowCount(), 1);
        QCOMPARE(owners->model()->index(0, 0).data().toString(), s("c"));
        QCOMPARE(principal->text(), s("Harmadik Megbízó"));
        QVERIFY(!get<QCheckBox>(window.get(), "Web")->isChecked());
        // The archive is a record: typing and clicking change nothing.
        const QStringList before = f.snapshot();
        QVERIFY(principal->isReadOnly());
        QTest::keyClicks(principal, s("xyz"));
        QTest::mouseClick(get<QCheckBox>(window.get(), "Web"), Qt::LeftButton);
        QCOMPARE(principal->text(), s("Harmadik Megbízó"));
        QVERIFY(!get<QCheckBox>(window.get(), "Web")->isChecked());

        // Deleting for good asks first; only "OK" deletes.
        selectRow(grid, 0);
        DialogAnswerer answerer;
        answerer.answer(s("Mégsem"));
        press(window.get(), "BitBtn2");
        QCOMPARE(answerer.lastSeen(),
                 s("Az adat véglegesen törlődik az adatbázisból! Biztosan folytatja?"));
        QCOMPARE(f.snapshot(), before);
        answerer.answer(s("OK"));
        press(window.get(), "BitBtn2");
        QCOMPARE(f.count(tables::archiv, s("1")), 2);
        QCOMPARE(f.count(tables::archivtulaj, QStringLiteral("EgyszeruId = %1").arg(first)), 0);
        QCOMPARE(f.count(tables::archivtulaj, QStringLiteral("EgyszeruId = %1").arg(third)), 1);
        QCOMPARE(f.c.tArchiv.integer(s("Id")), second); // on to the following record
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(owners->model()->rowCount(), 0);

        // On an empty archive the button does nothing at all.
        for (int i = 0; i < 2; ++i) {
            answerer.answer(s("OK"));
            press(window.get(), "BitBtn2");
        }
        QCOMPARE(f.count(tables::archiv, s("1")), 0);
        QVERIFY(!opensAWindow([&] { press(window.get(), "BitBtn2"); }));

        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }

    void failuresChangeNothing()
    {
        ArchiveFixture f;
        DialogAnswerer answerer;
        // Archiving and outright deletion: the last write, deleting the property, fails.
        f.db.exec(s("CREATE TRIGGER fail BEFORE DELETE ON egyszeru BEGIN SELECT RAISE(ABORT, "
                    "'teszt'); END"));
        const QStringList before = f.snapshot();
        for (bool outright : {false, true}) {
            TfDel window(f.c);
            window.show();
            if (outright)
                QTest::mouseClick(get<QCheckBox>(&window, "dVegleg"), Qt::LeftButton);
            answerer.answer(s("OK"));
            press(&window, "BitBtn1");
            QVERIFY(answerer.lastSeen().contains(s("teszt")));
            QVERIFY(window.isVisible());
            QCOMPARE(f.snapshot(), before);
            QCOMPARE(f.c.tEgyszeru.integer(s("Id")), f.property);
        }
        f.db.exec(s("DROP TRIGGER fail"));

        // Deleting for good: the archive record itself cannot go.
        f.db.exec(s(
            "CREATE TRIGGER fail BEFORE DELETE ON archiv BEGIN SELECT RAISE(ABORT, 'teszt'); END"));
        TfArchivum window(f.c);
        window.show();
        selectRow(get<CursorGrid>(&window, "DBGrid1"), f.property - 1);
        answerer.answer(s("OK"));
        answerer.answer(s("OK"));
        press(&window, "BitBtn2");
        QVERIFY(answerer.lastSeen().contains(s("teszt")));
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(get<CursorGrid>(&window, "DBGrid3")->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestArchiving)
#include "test_archiving.moc"
