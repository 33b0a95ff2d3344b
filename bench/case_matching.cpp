#include "bench/benchcase.h"
#include "bench/generator.h"
#include "buyers/matching.h"
#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QRandomGenerator>

// The matching run over a full register: every request flagged from one pass over the
// properties. Its flags must be exactly those of one filtered count per request, which is
// checked in full on a small register and on a sample of the large one.
namespace {

const QString odd = QStringLiteral("D'Arcy-liget");
const QString oddType = QStringLiteral("Kúria 'A'");

// A few properties whose settlement or type carries an apostrophe, beside the generated ones.
void addOddProperties(Database &db)
{
    Cursor c(db, tables::egyszeru, true);
    Database::Transaction unit(db);
    for (int i = 0; i < 20; ++i) {
        c.append();
        c.setValue(QStringLiteral("Azonosito"), QStringLiteral("O'%1").arg(i));
        c.setValue(QStringLiteral("TipusText"), i % 2 ? oddType : QStringLiteral("Lakás"));
        c.setValue(QStringLiteral("CimVaros"), i % 3 ? odd : QStringLiteral("Budapest"));
        c.setValue(QStringLiteral("Ar"), 10000000.0 + 1000000.0 * i);
        c.post();
    }
    unit.commit();
}

QString settlementSought(QRandomGenerator &random)
{
    const int kind = random.bounded(100);
    const QString name = generator::settlements()
                             .at(random.bounded(static_cast<int>(generator::settlements().size())))
                             .name;
    if (kind < 25)
        return {};
    if (kind < 65)
        return name;
    if (kind < 75)
        return name.toLower();
    if (kind < 88)
        return name.left(2 + random.bounded(3)).toLower();
    if (kind < 94)
        return odd.left(1 + random.bounded(static_cast<int>(odd.size())));
    return QStringLiteral("Zsámbék");
}

QString typeSought(QRandomGenerator &random)
{
    const int kind = random.bounded(100);
    const QString name = generator::propertyTypes().at(
        random.bounded(static_cast<int>(generator::propertyTypes().size())));
    if (kind < 10)
        return {};
    if (kind < 70)
        return name;
    if (kind < 85)
        return name.left(1 + random.bounded(4)).toUpper();
    if (kind < 95)
        return oddType.left(5 + random.bounded(static_cast<int>(oddType.size()) - 4));
    return QStringLiteral("Kastély");
}

void addRequests(Database &db, int n, quint32 seed)
{
    QRandomGenerator random(seed);
    Cursor c(db, tables::erdeklodes, false);
    Database::Transaction unit(db);
    for (int i = 0; i < n; ++i) {
        double artol = 1000000.0 * random.bounded(3, 220) + 10000.0 * random.bounded(0, 100);
        double arig = artol + 1000000.0 * random.bounded(0, 40);
        const int kind = random.bounded(100);
        if (kind < 5)
            std::swap(artol, arig), arig -= 1; // lower bound above the upper one
        else if (kind < 8)
            arig = 0; // the upper amount left at 0
        c.append();
        c.setValue(QStringLiteral("Nev"), QStringLiteral("Vevő %1").arg(i + 1));
        c.setValue(QStringLiteral("TipusText"), typeSought(random));
        c.setValue(QStringLiteral("Telepules"), settlementSought(random));
        c.setValue(QStringLiteral("CimMegye"), QStringLiteral("Pest"));
        c.setValue(QStringLiteral("Artol"), artol);
        c.setValue(QStringLiteral("Arig"), arig);
        c.setValue(QStringLiteral("Mikor"),
                   textformat::timestampText(QDateTime(QDate(2026, 3, 1), QTime(10, 0))));
        c.post();
    }
    unit.commit();
}

void clearFlags(Database &db)
{
    Cursor c(db, tables::erdeklodes, false);
    QVector<std::pair<qint64, bool>> all;
    for (int i = 0; i < c.recordCount(); ++i)
        all.append({c.recordAt(i).rowId, false});
    bulkwrite::setBooleans(db, tables::erdeklodes, QStringLiteral("Utkozes"), all);
}

// Compares the flags of the given request positions with one filtered count each; returns how
// many requests fit.
int checkFlags(BenchRun &run, Database &db, const QList<int> &positions, const QString &where)
{
    Cursor requests(db, tables::erdeklodes, false);
    Cursor properties(db, tables::egyszeru, true);
    int fitting = 0;
    for (int position : positions) {
        const Record request = requests.recordAt(position);
        properties.setFilterText(matching::matchExpression(matching::criteriaOf(request)));
        properties.setFiltered(true);
        const bool expected = properties.recordCount() > 0;
        fitting += expected ? 1 : 0;
        if (request.boolean(QStringLiteral("Utkozes")) != expected) {
            run.fail(QStringLiteral("%1: request %2 (%3) flagged %4")
                         .arg(where)
                         .arg(position)
                         .arg(matching::matchExpression(matching::criteriaOf(request)))
                         .arg(expected ? QStringLiteral("false") : QStringLiteral("true")));
        }
    }
    return fitting;
}

QList<int> allPositions(int n)
{
    QList<int> positions;
    for (int i = 0; i < n; ++i)
        positions << i;
    return positions;
}

void checkSmallRegister(BenchRun &run)
{
    BenchDatabase db(run, QStringLiteral("small"));
    generator::generateRegister(db, 2000, 7);
    addOddProperties(db);
    addRequests(db, 300, 11);
    Cursor requests(db, tables::erdeklodes, false);
    Cursor properties(db, tables::egyszeru, true);
    matching::utkoztet(requests, properties);
    const int fitting = checkFlags(run, db, allPositions(300), QStringLiteral("small register"));
    if (fitting == 0 || fitting == 300)
        run.fail(QStringLiteral("the small register's requests do not test both outcomes"));
}

} // namespace

static BenchRegistrar registrar(QStringLiteral("matching"), 10000, 5, [](BenchRun &run) {
    checkSmallRegister(run);

    BenchDatabase db(run, QStringLiteral("large"));
    generator::generateRegister(db, 100000);
    addOddProperties(db);
    addRequests(db, run.n, 20260301);
    Cursor requests(db, tables::erdeklodes, false);
    Cursor properties(db, tables::egyszeru, true);
    for (int i = 0; i < run.runs; ++i) {
        clearFlags(db);
        run.time([&] { matching::utkoztet(requests, properties); });
    }
    QList<int> sample;
    for (int i = 0; i < run.n; i += std::max(1, run.n / 60))
        sample << i;
    checkFlags(run, db, sample, QStringLiteral("large register"));
    run.setSize(QStringLiteral("%1 requests, 100020 properties").arg(run.n));
});
