#include "bench/benchcase.h"
#include "bench/generator.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

#include <QSqlQuery>

// Reading deep into the price order of a large register: the grid dragged by its thumb near the
// end (`scroll`), and a loop that steps through every record as printing and copying do
// (`scroll-all`). Both are checked against a plain ordered query.
namespace {

constexpr int screenRows = 40;

struct Expected
{
    QList<qint64> rowIds;
    double sum = 0;
};

// The price order spelt out by hand, independent of the cursor's own reading.
Expected plainOrder(Database &db)
{
    Expected expected;
    QSqlQuery query = db.query(QStringLiteral("SELECT rowid, \"Ar\" FROM \"egyszeru\" "
                                              "ORDER BY \"Ar\", rowid"));
    while (query.next()) {
        expected.rowIds << query.value(0).toLongLong();
        expected.sum += query.value(1).toDouble();
    }
    return expected;
}

void prepare(BenchRun &run, const QString &name, std::unique_ptr<Database> &db, Expected &expected)
{
    db = std::make_unique<BenchDatabase>(run, name);
    generator::generateRegister(*db, run.n);
    expected = plainOrder(*db);
    if (expected.rowIds.size() != run.n)
        run.fail(QStringLiteral("%1 properties generated, %2 asked for")
                     .arg(expected.rowIds.size())
                     .arg(run.n));
}

// A cursor as the grid holds it: open, in price order, its count already known.
std::unique_ptr<Cursor> priceCursor(Database &db)
{
    auto c = std::make_unique<Cursor>(db, tables::egyszeru, true);
    c->open();
    c->setIndexName(QStringLiteral("iar"));
    c->recordCount();
    return c;
}

} // namespace

static BenchRegistrar scroll(QStringLiteral("scroll"), 100000, 20, [](BenchRun &run) {
    std::unique_ptr<Database> db;
    Expected expected;
    prepare(run, QStringLiteral("scroll"), db, expected);
    const int top = std::clamp(run.n / 100 * 99, 0, std::max(0, run.n - screenRows));
    for (int i = 0; i < run.runs; ++i) {
        // A fresh cursor each time: the jump finds nothing read near it yet.
        const std::unique_ptr<Cursor> c = priceCursor(*db);
        QList<qint64> shown;
        QString texts;
        run.time([&] {
            for (int row = top; row < top + screenRows && row < c->recordCount(); ++row) {
                const Record r = c->recordAt(row);
                shown << r.rowId;
                for (const char *field : {"Azonosito", "TipusText", "ArText", "CimTeljes"})
                    texts += c->valueOf(r, QString::fromLatin1(field)).toString();
            }
        });
        if (shown != expected.rowIds.mid(top, screenRows))
            run.fail(QStringLiteral("rows %1-%2 differ from the ordered query")
                         .arg(top)
                         .arg(top + screenRows - 1));
        if (texts.isEmpty())
            run.fail(QStringLiteral("the rows shown are empty"));
    }
    run.setSize(QStringLiteral("%1 properties, %2 rows at %3 in price order")
                    .arg(run.n)
                    .arg(screenRows)
                    .arg(top));
});

static BenchRegistrar scrollAll(QStringLiteral("scroll-all"), 100000, 3, [](BenchRun &run) {
    std::unique_ptr<Database> db;
    Expected expected;
    prepare(run, QStringLiteral("scroll-all"), db, expected);
    for (int i = 0; i < run.runs; ++i) {
        const std::unique_ptr<Cursor> c = priceCursor(*db);
        QList<qint64> visited;
        visited.reserve(run.n);
        double sum = 0;
        run.time([&] {
            for (c->first(); !c->atEnd(); c->next()) {
                visited << c->record().rowId;
                sum += c->number(QStringLiteral("Ar"));
            }
        });
        if (visited.size() != expected.rowIds.size())
            run.fail(QStringLiteral("%1 records read, %2 expected")
                         .arg(visited.size())
                         .arg(expected.rowIds.size()));
        else if (visited != expected.rowIds)
            run.fail(QStringLiteral("the records came in another order than the ordered query"));
        if (sum != expected.sum)
            run.fail(QStringLiteral("sum of prices %1, expected %2")
                         .arg(sum, 0, 'f', 0)
                         .arg(expected.sum, 0, 'f', 0));
    }
    run.setSize(QStringLiteral("%1 properties in price order").arg(run.n));
});
