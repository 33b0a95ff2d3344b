#include "bench/benchcase.h"
#include "bench/generator.h"
#include "register/searchfilter.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

#include <algorithm>
#include <vector>

// The search panel's filters on a large register: the filter set on the shared property cursor
// (case-blind, ordered by price as the panel orders it), the result counted, and the first
// screen of the grid read with its calculated columns.
namespace {

constexpr int screenRows = 30;

QList<SearchFields> searches()
{
    auto fields = [](QString id, QString settlement, QString type, double lower, double upper) {
        SearchFields f;
        f.identifier = id;
        f.settlement = settlement;
        f.typeText = type;
        f.typeIndex = type.isEmpty() ? 0 : 1;
        f.lower = lower;
        f.upper = upper == 0 ? unboundedPrice : upper;
        return f;
    };
    return {
        fields({}, {}, {}, 0, 0),
        fields({}, QStringLiteral("buda"), {}, 0, 0),
        fields({}, {}, QStringLiteral("Lakás"), 20000000, 60000000),
        fields(QStringLiteral("p-054321"), {}, {}, 0, 0),
        fields({}, QStringLiteral("SZ"), QStringLiteral("családi ház"), 0, 100000000),
        fields({}, QStringLiteral("Ő"), {}, 50000000, 0),
    };
}

// What the grid shows of the first screen; reading it is part of the search's cost.
QString firstScreen(Cursor &c)
{
    QString shown;
    const int rows = std::min(screenRows, c.recordCount());
    for (int row = 0; row < rows; ++row) {
        const Record r = c.recordAt(row);
        for (const char *field : {"Azonosito", "TipusText", "ArText", "CimTeljes", "PrintText"})
            shown += c.valueOf(r, QString::fromLatin1(field)).toString();
    }
    return shown;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

static BenchRegistrar registrar(QStringLiteral("search"), 100000, 30, [](BenchRun &run) {
    BenchDatabase db(run, QStringLiteral("search"));
    generator::generateRegister(db, run.n);
    Cursor c(db, tables::egyszeru, true);
    c.open();
    c.setIndexName(QStringLiteral("iar"));

    const QList<SearchFields> list = searches();
    // Expected counts, evaluated record by record without SQL.
    QList<int> expected(list.size(), 0);
    QList<Filter> filters;
    for (const SearchFields &f : list)
        filters << Filter::parse(searchFilter(f));
    for (int row = 0; row < c.recordCount(); ++row) {
        const Record r = c.recordAt(row);
        for (int i = 0; i < filters.size(); ++i)
            expected[i] += filters[i].matches(r, true) ? 1 : 0;
    }

    std::vector<std::vector<double>> byKind(list.size());
    for (int i = 0; i < run.runs; ++i) {
        const int which = i % list.size();
        int count = 0;
        QString screen;
        run.time([&] {
            c.setFilterText(searchFilter(list[which]));
            c.setFiltered(true);
            count = c.recordCount();
            c.first();
            screen = firstScreen(c);
        });
        byKind[which].push_back(run.millis().back());
        if (count != expected[which])
            run.fail(QStringLiteral("%1: %2 found, %3 expected")
                         .arg(searchFilter(list[which]))
                         .arg(count)
                         .arg(expected[which]));
        if (count > 0 && screen.isEmpty())
            run.fail(QStringLiteral("%1: empty first screen").arg(searchFilter(list[which])));
        // The grid is ordered by price.
        if (count > 1 &&
            c.recordAt(0).number(QStringLiteral("Ar")) > c.recordAt(1).number(QStringLiteral("Ar")))
            run.fail(QStringLiteral("%1: not ordered by price").arg(searchFilter(list[which])));
    }
    // The goal holds for every search, so the slowest kind is named.
    int slowest = 0;
    for (int k = 0; k < list.size(); ++k) {
        if (medianOf(byKind[k]) > medianOf(byKind[slowest]))
            slowest = k;
    }
    run.setSize(QStringLiteral("%1 properties, %2 kinds of search; slowest %3: median %4 ms")
                    .arg(run.n)
                    .arg(list.size())
                    .arg(searchFilter(list[slowest]))
                    .arg(medianOf(byKind[slowest]), 0, 'f', 1));
});
