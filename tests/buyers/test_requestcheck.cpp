#include "buyers/requestcheck.h"
#include "store/changelog.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/tempdatadir.h"

#include <QSqlQuery>
#include <QtTest>

// The checks and the write behind a request form's "Rögzít", without the form.
class TestRequestCheck : public QObject
{
    Q_OBJECT

private:
    static RequestEntry complete()
    {
        RequestEntry entry;
        entry.values = {
            {QStringLiteral("Nev"), QStringLiteral("Kovács Éva")},
            {QStringLiteral("CimIrsz"), QStringLiteral("1111")},
            {QStringLiteral("CimVaros"), QStringLiteral("Budapest")},
            {QStringLiteral("CimUtca"), QStringLiteral("Bartók Béla út 1.")},
            {QStringLiteral("Telefon"), QStringLiteral("+36 1 234 5678")},
            {QStringLiteral("Tipus"), 2},
            {QStringLiteral("TipusText"), QStringLiteral("lakás")},
            {QStringLiteral("Telepules"), QStringLiteral("Szeged")},
            {QStringLiteral("CimMegye"), QStringLiteral("Budapest")},
            {QStringLiteral("Artol"), 10000000},
            {QStringLiteral("Arig"), 25000000},
        };
        entry.from = 10000000;
        entry.to = 25000000;
        return entry;
    }

    static void drop(RequestEntry &entry, const QString &field)
    {
        entry.values.removeIf([&](const auto &pair) { return pair.first == field; });
    }

    static void blank(RequestEntry &entry, const QString &field)
    {
        for (auto &pair : entry.values) {
            if (pair.first == field)
                pair.second = QString();
        }
    }

private slots:
    void checksInBoxOrder()
    {
        QVERIFY(!requestProblem(complete()).has_value());

        // Every required box alone, and the first of several is the one named.
        for (const char *field : {"Nev", "CimIrsz", "CimVaros", "CimUtca", "CimMegye", "Telefon"}) {
            RequestEntry entry = complete();
            blank(entry, QString::fromLatin1(field));
            const auto problem = requestProblem(entry);
            QVERIFY2(problem.has_value(), field);
            QCOMPARE(problem->field, QString::fromLatin1(field));
            QCOMPARE(problem->message, QStringLiteral("Nincs elég adat!"));
        }
        RequestEntry several = complete();
        blank(several, QStringLiteral("Telefon"));
        blank(several, QStringLiteral("CimVaros"));
        QCOMPARE(requestProblem(several)->field, QStringLiteral("CimVaros"));

        // No type chosen gives no index at all; type 0 is a real choice.
        RequestEntry noType = complete();
        drop(noType, QStringLiteral("Tipus"));
        drop(noType, QStringLiteral("TipusText"));
        QCOMPARE(requestProblem(noType)->field, QStringLiteral("Tipus"));
        RequestEntry firstType = complete();
        for (auto &pair : firstType.values) {
            if (pair.first == QLatin1String("Tipus"))
                pair.second = 0;
        }
        QVERIFY(!requestProblem(firstType).has_value());

        // Blanks around the text are what was typed: only an empty box is missing.
        RequestEntry spaced = complete();
        for (auto &pair : spaced.values) {
            if (pair.first == QLatin1String("Nev"))
                pair.second = QStringLiteral(" ");
        }
        QVERIFY(!requestProblem(spaced).has_value());
    }

    void priceBounds()
    {
        QCOMPARE(amountProblem(2147483647.0), QString());
        QCOMPARE(amountProblem(-2147483648.0), QString());
        // Rounded half to even before the bound is checked.
        QCOMPARE(amountProblem(2147483647.4), QString());
        QCOMPARE(amountProblem(2147483647.5),
                 QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!"));
        QCOMPARE(amountProblem(-2147483649.0),
                 QStringLiteral("Az összeg legalább -2 147 483 648 Ft lehet!"));

        RequestEntry tooHigh = complete();
        tooHigh.to = 999999999999999;
        QCOMPARE(requestProblem(tooHigh)->field, QStringLiteral("Arig"));
        // Both wrong: the lower bound's box comes first.
        tooHigh.from = -999999999999999;
        const auto problem = requestProblem(tooHigh);
        QCOMPARE(problem->field, QStringLiteral("Artol"));
        QCOMPARE(problem->message, QStringLiteral("Az összeg legalább -2 147 483 648 Ft lehet!"));
        // A missing box is reported before a bound.
        blank(tooHigh, QStringLiteral("Nev"));
        QCOMPARE(requestProblem(tooHigh)->field, QStringLiteral("Nev"));
    }

    void writesNewAndSelectedRecord()
    {
        TempDataDir dir;
        {
            Database db(dir.path());
            Cursor requests(db, tables::erdeklodes, false);
            requests.open();
            requests.append();
            writeRequest(requests, complete());
            QCOMPARE(requests.recordCount(), 1);

            RequestEntry changed = complete();
            for (auto &pair : changed.values) {
                if (pair.first == QLatin1String("Telepules"))
                    pair.second = QStringLiteral("Őriszentpéter");
            }
            requests.edit();
            writeRequest(requests, changed);
            QCOMPARE(requests.recordCount(), 1);
        }
        // Read back from the file, by a fresh connection.
        Database db(dir.path());
        Cursor requests(db, tables::erdeklodes, false);
        requests.open();
        QCOMPARE(requests.recordCount(), 1);
        const Record row = requests.recordAt(0);
        QCOMPARE(requests.valueOf(row, QStringLiteral("Nev")).toString(),
                 QStringLiteral("Kovács Éva"));
        QCOMPARE(requests.valueOf(row, QStringLiteral("Telepules")).toString(),
                 QStringLiteral("Őriszentpéter"));
        QCOMPARE(requests.valueOf(row, QStringLiteral("Arig")).toDouble(), 25000000.0);
        QVERIFY(!requests.valueOf(row, QStringLiteral("Mikor")).toString().isEmpty());
    }

    // Storing, changing and deleting a request each leave one entry in the office's log, with
    // who asked for what and which boxes changed; a write the table refuses leaves none.
    void writesAreLogged()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor requests(db, tables::erdeklodes, false);
        requests.open();
        requests.append();
        writeRequest(requests, complete());

        RequestEntry changed = complete();
        for (auto &pair : changed.values) {
            if (pair.first == QLatin1String("Arig"))
                pair.second = 30000000;
            if (pair.first == QLatin1String("Telefon"))
                pair.second = QStringLiteral("+36 30 111 2222");
        }
        requests.edit();
        writeRequest(requests, changed);
        requests.edit();
        writeRequest(requests, changed);

        // The table refuses the next write: nothing of it may reach the log.
        db.exec(db.isServer()
                    ? QStringLiteral("ALTER TABLE erdeklodes ADD CONSTRAINT fail CHECK (false) "
                                     "NOT VALID")
                    : QStringLiteral("CREATE TRIGGER fail BEFORE UPDATE ON erdeklodes BEGIN "
                                     "SELECT RAISE(ABORT, 'teszt'); END"));
        requests.edit();
        QVERIFY_THROWS_EXCEPTION(StoreError, writeRequest(requests, complete()));
        requests.cancel();
        db.exec(db.isServer() ? QStringLiteral("ALTER TABLE erdeklodes DROP CONSTRAINT fail")
                              : QStringLiteral("DROP TRIGGER fail"));

        // A request appended and not stored is only dropped.
        requests.append();
        deleteRequest(requests);
        QCOMPARE(requests.recordCount(), 1);
        deleteRequest(requests);
        QCOMPARE(requests.recordCount(), 0);
        deleteRequest(requests); // an empty list: nothing to delete, nothing to log

        QSqlQuery query = db.query(
            QStringLiteral("SELECT \"Muvelet\", \"IngatlanId\", \"Reszletek\", \"Munkaallomas\", "
                           "\"Felhasznalo\" FROM naplo ORDER BY \"Id\""));
        QStringList entries;
        while (query.next()) {
            QCOMPARE(query.value(1).toInt(), 0); // no property is behind a request
            QCOMPARE(query.value(3).toString(), changelog::workstation());
            QCOMPARE(query.value(4).toString(), changelog::userName(db));
            entries << query.value(0).toString() + QStringLiteral(" | ") +
                    query.value(2).toString();
        }
        QCOMPARE(entries,
                 (QStringList {
                     QStringLiteral("Keresés felvitele | Kovács Éva: lakás, Szeged"),
                     QStringLiteral("Keresés módosítása | Kovács Éva: Arig, Telefon"),
                     QStringLiteral("Keresés módosítása | Kovács Éva: nem változott adat"),
                     QStringLiteral("Keresés törlése | Kovács Éva: lakás, Szeged"),
                 }));
    }

    // Two workstations on one request: the edit made over a save it did not see is refused,
    // stays as typed, and stays refused until the request is read again.
    void editOverAnotherSaveIsRefused()
    {
        TempDataDir dir;
        Database here(dir.path());
        // A second connection on the same register, as another copy of the program has.
        Database there(dir.path());
        Cursor mine(here, tables::erdeklodes, false);
        mine.open();
        mine.append();
        writeRequest(mine, complete());

        Cursor theirs(there, tables::erdeklodes, false);
        theirs.open();
        mine.edit();
        mine.setValue(QStringLiteral("Telepules"), QStringLiteral("Pécs"));
        RequestEntry changed = complete();
        changed.values.append({QStringLiteral("Telepules"), QStringLiteral("Győr")});
        theirs.edit();
        writeRequest(theirs, changed);

        const auto refused = [&mine] {
            try {
                storeRequestEdit(mine);
            } catch (const ConflictError &error) {
                return error.message();
            }
            return QString();
        };
        QVERIFY2(refused().contains(QStringLiteral("másik munkaállomáson módosították")),
                 "the first save is refused");
        QCOMPARE(mine.text(QStringLiteral("Telepules")), QStringLiteral("Pécs"));
        QVERIFY2(!refused().isEmpty(), "and so is the second");
        mine.cancel();
        mine.reread();
        QCOMPARE(mine.text(QStringLiteral("Telepules")), QStringLiteral("Győr"));
        mine.edit();
        mine.setValue(QStringLiteral("Telepules"), QStringLiteral("Pécs"));
        storeRequestEdit(mine);
        theirs.reread();
        QCOMPARE(theirs.text(QStringLiteral("Telepules")), QStringLiteral("Pécs"));
    }
};

QTEST_GUILESS_MAIN(TestRequestCheck)
#include "test_requestcheck.moc"
