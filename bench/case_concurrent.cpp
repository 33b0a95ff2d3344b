#include "bench/benchcase.h"
#include "bench/generator.h"
#include "register/propertystore.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <memory>

// Four workstations at work on one register at once, each on a connection of its own in a
// thread of its own, through the new-property and modify windows' own store and save: each
// stores its new properties, now and then one whose identifier the others store too, and
// modifies properties of its own and a few that all of them modify. A modification adds one to
// the property's counter (MinimumAr) as read, so a lost update shows as a counter below the
// saves that were accepted; a refused save is read again and repeated, as the user would after
// "Újraolvasás". The embedded register admits one program at a time: there the four take their
// steps in turn on the one connection.
namespace {

constexpr int stations = 4;
constexpr int storesEach = 1000;
constexpr int hotCount = 20;
constexpr int sharedEvery = 25; // every 25th step also tries an identifier all of them try
constexpr int maxTries = 200;
const QString duplicate = QStringLiteral("Van már ilyen azonosító!");
const QString counterField = QStringLiteral("MinimumAr");

NewProperty propertyNamed(const QString &identifier, int step)
{
    const generator::Settlement &place = generator::settlements().at(step % 30);
    NewProperty property;
    property.fields = {{QStringLiteral("Azonosito"), identifier},
                       {QStringLiteral("TipusText"), generator::propertyTypes().at(step % 12)},
                       {QStringLiteral("Ar"), 10000000.0 + 10000.0 * step},
                       {counterField, 0.0},
                       {QStringLiteral("CimVaros"), place.name},
                       {QStringLiteral("CimIrsz"), place.postcode},
                       {QStringLiteral("CimMegye"), place.county}};
    return property;
}

// What one workstation did; read by the main thread once the workstation has finished.
struct Tally
{
    QHash<QString, int> stored; // identifier -> record number
    QHash<int, int> accepted; // record number -> modifications accepted
    int saves = 0;
    int retried = 0; // refused as saved elsewhere meanwhile, read again and repeated
    int duplicates = 0; // refused identifiers another workstation had stored
    QStringList errors;
};

class Station
{
public:
    Station(Database &db, int index, const QString &prefix, const QList<int> &hot)
        : m_c(db)
        , m_index(index)
        , m_prefix(prefix)
        , m_hot(hot)
    {
        m_c.tEgyszeru.open();
    }

    Tally tally;

    void step(int i)
    {
        store(QStringLiteral("%1W%2-%3").arg(m_prefix).arg(m_index).arg(i, 4, 10, QLatin1Char('0')),
              i, false);
        if (i % sharedEvery == 0)
            store(QStringLiteral("%1K-%2").arg(m_prefix).arg(i / sharedEvery), i, true);
        if (i % 2 == 0)
            modify(m_hot.at((i / 2 + m_index * 5) % m_hot.size()));
        if (i % 4 == 1 && !m_own.isEmpty())
            modify(m_own.at((i * 7919) % m_own.size()));
    }

private:
    // As the new-property window does: the check first, then the store.
    void store(const QString &identifier, int i, bool shared)
    {
        const NewProperty property = propertyNamed(identifier, i);
        try {
            QString refusal;
            if (const auto failure = checkNewProperty(property, m_c.tEgyszeru))
                refusal = failure->message;
            else {
                const int id = storeNewProperty(m_c, property);
                tally.stored.insert(identifier, id);
                m_own << id;
                ++tally.saves;
                return;
            }
            if (shared && refusal == duplicate)
                ++tally.duplicates;
            else
                tally.errors << identifier + QStringLiteral(": ") + refusal;
        } catch (const StoreError &error) {
            if (shared && error.message() == duplicate &&
                !dynamic_cast<const ConflictError *>(&error))
                ++tally.duplicates;
            else
                tally.errors << identifier + QStringLiteral(": ") + error.message();
        }
    }

    // As the modify window does: the record read with its save count and its owners, the
    // changed field saved; a refusal reads the record again.
    void modify(int id)
    {
        Cursor &property = m_c.tEgyszeru;
        for (int attempt = 0; attempt < maxTries; ++attempt) {
            try {
                if (attempt > 0)
                    property.reread();
                if (!property.locate(filters::withId(id))) {
                    tally.errors << QStringLiteral("property %1 not found").arg(id);
                    return;
                }
                PropertyChanges changes;
                changes.id = id;
                changes.readVersion = property.rowVersion();
                changes.fields = {{counterField, property.number(counterField) + 1}};
                loadWorkingOwners(m_c, id);
                saveModifiedProperty(m_c, changes);
                ++tally.accepted[id];
                ++tally.saves;
                return;
            } catch (const ConflictError &) {
                ++tally.retried;
            } catch (const StoreError &error) {
                tally.errors << QStringLiteral("property %1: %2").arg(id).arg(error.message());
                return;
            }
        }
        tally.errors << QStringLiteral("property %1 refused %2 times").arg(id).arg(maxTries);
    }

    RegisterState m_c;
    const int m_index;
    const QString m_prefix;
    const QList<int> m_hot;
    QList<int> m_own;
};

// Every workstation on its own connection in its own thread; its events (the others' commits
// heard) are taken between steps, as a window's event loop would.
QList<Tally> onServer(BenchRun &run, const QString &office, const QString &prefix,
                      const QList<int> &hot)
{
    const QString address = run.addressOf(office);
    QList<Tally> tallies(stations);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int s = 0; s < stations; ++s) {
        const QString dataDir = run.dataDirOf(office, s + 1);
        threads.emplace_back(QThread::create([&tallies, s, dataDir, address, prefix, hot] {
            try {
                BenchDatabase db(dataDir, address);
                Station station(db, s + 1, prefix, hot);
                for (int i = 0; i < storesEach; ++i) {
                    station.step(i);
                    QCoreApplication::processEvents();
                }
                tallies[s] = station.tally;
            } catch (const StoreError &error) {
                tallies[s].errors
                    << QStringLiteral("workstation %1 stopped: %2").arg(s + 1).arg(error.message());
            }
        }));
    }
    for (auto &thread : threads)
        thread->start();
    for (auto &thread : threads)
        thread->wait();
    return tallies;
}

QList<Tally> inTurn(Database &db, const QString &prefix, const QList<int> &hot)
{
    std::vector<std::unique_ptr<Station>> all;
    for (int s = 0; s < stations; ++s)
        all.push_back(std::make_unique<Station>(db, s + 1, prefix, hot));
    for (int i = 0; i < storesEach; ++i) {
        for (auto &station : all)
            station->step(i);
    }
    QList<Tally> tallies;
    for (auto &station : all)
        tallies << station->tally;
    return tallies;
}

QList<int> storeHot(Database &db, const QString &prefix)
{
    RegisterState c(db);
    c.tEgyszeru.open();
    QList<int> hot;
    for (int k = 0; k < hotCount; ++k)
        hot << storeNewProperty(c, propertyNamed(QStringLiteral("%1H-%2").arg(prefix).arg(k), k));
    return hot;
}

} // namespace

namespace {

struct Row
{
    int id;
    double counter;
};

QHash<QString, Row> storedWith(Database &db, const QString &prefix)
{
    QHash<QString, Row> rows;
    QSqlQuery query = db.query(QStringLiteral("SELECT \"Id\", \"Azonosito\", \"%1\" FROM egyszeru "
                                              "WHERE \"Azonosito\" LIKE ?")
                                   .arg(counterField),
                               {prefix + QLatin1Char('%')});
    while (query.next())
        rows.insert(query.value(1).toString(), {query.value(0).toInt(), query.value(2).toDouble()});
    return rows;
}

// Every store is there once under its own number, every shared identifier was taken by one
// workstation and refused to the others, and every accepted modification is in its counter.
void check(BenchRun &run, Database &db, const QList<Tally> &tallies, const QString &prefix,
           const QList<int> &hot)
{
    const QHash<QString, Row> rows = storedWith(db, prefix);
    QSet<int> numbers;
    QHash<int, double> counters;
    for (const Row &row : rows) {
        numbers.insert(row.id);
        counters.insert(row.id, row.counter);
    }
    if (numbers.size() != rows.size())
        run.fail(QStringLiteral("%1 properties share %2 record numbers")
                     .arg(rows.size())
                     .arg(numbers.size()));
    const int sharedCount = (storesEach - 1) / sharedEvery + 1;
    const int expectedRows = stations * storesEach + sharedCount + hotCount;
    if (rows.size() != expectedRows)
        run.fail(
            QStringLiteral("%1 properties stored, %2 expected").arg(rows.size()).arg(expectedRows));
    QHash<int, int> accepted;
    int duplicates = 0;
    for (const Tally &tally : tallies) {
        for (const QString &error : tally.errors.mid(0, 5))
            run.fail(error);
        duplicates += tally.duplicates;
        for (auto it = tally.stored.cbegin(); it != tally.stored.cend(); ++it) {
            if (rows.value(it.key(), {-1, 0}).id != it.value())
                run.fail(
                    QStringLiteral("%1 stored as %2 is not there").arg(it.key()).arg(it.value()));
        }
        for (auto it = tally.accepted.cbegin(); it != tally.accepted.cend(); ++it)
            accepted[it.key()] += it.value();
    }
    if (duplicates != (stations - 1) * sharedCount)
        run.fail(QStringLiteral("%1 shared identifiers refused, %2 expected")
                     .arg(duplicates)
                     .arg((stations - 1) * sharedCount));
    int lost = 0;
    for (auto it = counters.cbegin(); it != counters.cend(); ++it)
        lost += it.value() != accepted.value(it.key()) ? 1 : 0;
    if (lost > 0)
        run.fail(
            QStringLiteral("%1 properties' counters differ from their accepted saves").arg(lost));
    for (int id : hot) {
        if (accepted.value(id) == 0)
            run.fail(QStringLiteral("shared property %1 was never modified").arg(id));
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

static BenchRegistrar registrar(QStringLiteral("concurrent"), 100000, 3, [](BenchRun &run) {
    const QString office = QStringLiteral("office");
    BenchDatabase db(run, office);
    generator::generateRegister(db, run.n);
    std::vector<double> rates;
    int retried = 0;
    int duplicates = 0;
    int modified = 0;
    for (int i = 0; i < run.runs; ++i) {
        const QString prefix = QStringLiteral("R%1-").arg(i + 1);
        const QList<int> hot = storeHot(db, prefix);
        QList<Tally> tallies;
        run.time([&] {
            tallies = run.onServer() ? onServer(run, office, prefix, hot) : inTurn(db, prefix, hot);
        });
        int saves = 0;
        for (const Tally &tally : std::as_const(tallies)) {
            saves += tally.saves;
            retried += tally.retried;
            duplicates += tally.duplicates;
            for (int count : tally.accepted)
                modified += count;
        }
        rates.push_back(saves / (run.millis().back() / 1000.0));
        check(run, db, tallies, prefix, hot);
    }
    run.setSize(QStringLiteral("%1 workstations%2 × %3 new properties; %4 saves/s; per run %5 "
                               "modifications accepted, %6 refused saves read again and "
                               "repeated, %7 shared identifiers refused; on %8 properties")
                    .arg(stations)
                    .arg(run.onServer() ? QString() : QStringLiteral(" in turn"))
                    .arg(storesEach)
                    .arg(median(rates), 0, 'f', 0)
                    .arg(modified / run.runs)
                    .arg(retried / run.runs)
                    .arg(duplicates / run.runs)
                    .arg(run.n));
});
