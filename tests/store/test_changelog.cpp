#include "store/changelog.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/testserver.h"

#include <QSqlQuery>
#include <QSysInfo>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

changelog::Entry entry(const QString &action, int propertyId, int archiveId = 0,
                       const QString &details = {})
{
    changelog::Entry e;
    e.action = action;
    e.propertyId = propertyId;
    e.archiveId = archiveId;
    e.identifier = u"AZ-%1"_s.arg(propertyId);
    e.details = details;
    return e;
}

QStringList actions(const QList<changelog::Entry> &entries)
{
    QStringList out;
    for (const changelog::Entry &e : entries)
        out << e.action + u'@' + QString::number(e.propertyId) + u'/' +
                QString::number(e.archiveId);
    return out;
}

int count(Database &db)
{
    QSqlQuery query = db.query(u"SELECT COUNT(*) FROM naplo"_s);
    return query.next() ? query.value(0).toInt() : -1;
}

} // namespace

// The office's change log as the table layer keeps it: what an entry holds, that it stands or
// falls with the unit it was written in, and how a property's entries are found again.
class TestChangelog : public QObject
{
    Q_OBJECT

private slots:
    void entryHoldsWhoWhenAndWhere()
    {
        TempDataDir dir;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        {
            Database db(dir.path());
            changelog::Entry e = entry(changelog::modositas, 7);
            // Wider than the register keeps an identifier, and outside Windows-1250.
            e.identifier = u"Hosszú-Azonosító-12345-ж"_s;
            e.details = u"Ar, CimUtca\r\nmásodik sor"_s;
            changelog::append(db, e);
        }
        // Read back by a fresh connection: the entry was committed on its own.
        Database db(dir.path());
        const QList<changelog::Entry> entries = changelog::ofProperty(db, 7);
        QCOMPARE(entries.size(), 1);
        const changelog::Entry &e = entries.first();
        QCOMPARE(e.action, u"Módosítás"_s);
        QCOMPARE(e.propertyId, 7);
        QCOMPARE(e.archiveId, 0);
        QCOMPARE(e.identifier, u"Hosszú-Azonosító-123"_s);
        QCOMPARE(e.details, u"Ar, CimUtca\r\nmásodik sor"_s);
        QCOMPARE(e.workstation, QSysInfo::machineHostName());
        QVERIFY(!e.workstation.isEmpty());
        QVERIFY(!e.user.isEmpty());
        QCOMPARE(e.user, changelog::userName(db));
        QVERIFY2(e.when >= before && e.when <= QDateTime::currentDateTime().addSecs(1),
                 qPrintable(e.when.toString(Qt::ISODateWithMs)));
    }

    // An entry written in a unit that is undone goes with it; one in a committed unit stays,
    // also when the unit is an inner one of an outer unit that commits.
    void entryFollowsItsUnit()
    {
        TempDataDir dir;
        Database db(dir.path());
        {
            Database::Transaction unit(db);
            changelog::append(db, entry(changelog::felvitel, 1));
        }
        QCOMPARE(count(db), 0);
        const QString error = errorOf([&] {
            Database::Transaction unit(db);
            changelog::append(db, entry(changelog::felvitel, 2));
            throw StoreError(u"Megszakadt."_s);
        });
        QCOMPARE(error, u"Megszakadt."_s);
        QCOMPARE(count(db), 0);
        {
            Database::Transaction outer(db);
            {
                Database::Transaction inner(db);
                changelog::append(db, entry(changelog::felvitel, 3));
                inner.commit();
            }
            changelog::append(db, entry(changelog::modositas, 3));
            outer.commit();
        }
        QCOMPARE(actions(changelog::ofProperty(db, 3)),
                 (QStringList {u"Módosítás@3/0"_s, u"Felvitel@3/0"_s}));
    }

    // A property's own entries, newest first; an archived property's entries are those from its
    // time in the register (under its register number) and those under its archive number.
    void entriesOfOneProperty()
    {
        TempDataDir dir;
        Database db(dir.path());
        changelog::append(db, entry(changelog::felvitel, 5));
        changelog::append(db, entry(changelog::felvitel, 6));
        changelog::append(db, entry(changelog::feltoltes, 0));
        changelog::append(db, entry(changelog::modositas, 5));
        // Archive record 6 is another property's than register property 6.
        changelog::append(db, entry(changelog::archivalas, 5, 6, u"az ingatlan eladva"_s));
        changelog::append(db, entry(changelog::modositas, 6));

        QCOMPARE(actions(changelog::ofProperty(db, 5)),
                 (QStringList {u"Archiválás@5/6"_s, u"Módosítás@5/0"_s, u"Felvitel@5/0"_s}));
        QCOMPARE(actions(changelog::ofProperty(db, 6)),
                 (QStringList {u"Módosítás@6/0"_s, u"Felvitel@6/0"_s}));
        QCOMPARE(changelog::registerIdOfArchived(db, 6), 5);
        QCOMPARE(actions(changelog::ofArchived(db, 6)),
                 (QStringList {u"Archiválás@5/6"_s, u"Módosítás@5/0"_s, u"Felvitel@5/0"_s}));
        // Archived before the log was kept: nothing to tell, and nothing of another's.
        QCOMPARE(changelog::registerIdOfArchived(db, 5), 0);
        QCOMPARE(actions(changelog::ofArchived(db, 5)), QStringList());
        QCOMPARE(actions(changelog::ofArchived(db, 0)), QStringList());
        QCOMPARE(actions(changelog::ofProperty(db, 99)), QStringList());

        // The property's entries are found through the index, not by reading the whole log.
        if (testserver::active())
            return; // the server plans its own way, from its statistics
        for (const char *column : {"IngatlanId", "ArchivId"}) {
            QSqlQuery plan = db.query(u"EXPLAIN QUERY PLAN SELECT * FROM naplo WHERE %1 = 5"_s.arg(
                QLatin1String(column)));
            QVERIFY(plan.next());
            QVERIFY2(plan.value(3).toString().contains(u"USING INDEX"_s),
                     qPrintable(plan.value(3).toString()));
        }
    }
};

QTEST_GUILESS_MAIN(TestChangelog)
#include "test_changelog.moc"
