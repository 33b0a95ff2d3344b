#include "bench/benchcase.h"
#include "bench/generator.h"
#include "register/searchpanel.h"
#include "store/bulkwrite.h"
#include "store/registerstate.h"
#include "widgets/cursorgrid.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QSqlRecord>

// Entering the search panel with part of a large register on the print list: the panel's own
// entry steps empty the list, show every property ordered by price and go to the first row.
namespace {

constexpr int listed = 1000;

// Every stored value of every property but its print flag, and the print flags apart, so that a
// clear that touched anything else is seen.
struct RegisterPrint
{
    QByteArray others;
    int onList = 0;
};

RegisterPrint registerPrint(Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("SELECT * FROM egyszeru ORDER BY rowid"));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    RegisterPrint print;
    int printColumn = -1;
    while (q.next()) {
        if (printColumn < 0)
            printColumn = q.record().indexOf(QStringLiteral("Print"));
        for (int i = 0; i < q.record().count(); ++i) {
            if (i == printColumn) {
                print.onList += q.value(i).toBool() ? 1 : 0;
                continue;
            }
            hash.addData(q.value(i).toString().toUtf8());
            hash.addData(QByteArrayView("\x1f", 1));
        }
    }
    print.others = hash.result();
    return print;
}

// Puts every hundredth property (spread over the register) on the print list.
void fillList(Database &db, int count, int step)
{
    QVector<std::pair<qint64, bool>> flags;
    QSqlQuery q = db.query(QStringLiteral("SELECT rowid FROM egyszeru ORDER BY rowid"));
    for (int row = 0; q.next(); ++row) {
        if (row % step == 0 && flags.size() < count)
            flags.append({q.value(0).toLongLong(), true});
    }
    bulkwrite::setBooleans(db, QStringLiteral("egyszeru"), QStringLiteral("Print"), flags);
}

double cheapestPrice(Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("SELECT MIN(Ar) FROM egyszeru"));
    return q.next() ? q.value(0).toDouble() : -1;
}

void check(BenchRun &run, Database &db, const RegisterPrint &before, SearchPanel &panel)
{
    const Cursor &c = *panel.grid()->cursor();
    const RegisterPrint after = registerPrint(db);
    if (after.onList != 0)
        run.fail(QStringLiteral("%1 properties left on the print list").arg(after.onList));
    if (after.others != before.others)
        run.fail(QStringLiteral("clearing the list changed other fields"));
    if (c.filtered() || c.recordCount() != run.n)
        run.fail(
            QStringLiteral("the view shows %1 of %2 properties").arg(c.recordCount()).arg(run.n));
    if (c.position() != 0 || c.number(QStringLiteral("Ar")) != cheapestPrice(db))
        run.fail(QStringLiteral("the current record is row %1 at %2 Ft, not the cheapest")
                     .arg(c.position())
                     .arg(c.number(QStringLiteral("Ar"))));
    const QModelIndex selected = panel.grid()->selectionModel()->currentIndex();
    if (selected.row() != 0)
        run.fail(QStringLiteral("the grid selects row %1, not the first").arg(selected.row()));
}

const BenchRegistrar registrar(QStringLiteral("print-list-clear"), 100000, 10, [](BenchRun &run) {
    BenchDatabase db(run, QStringLiteral("data"));
    generator::generateRegister(db, run.n);
    RegisterState cursors(db);
    Cursor &c = cursors.tEgyszeru;
    c.open();
    SearchPanel panel(cursors);
    panel.resize(900, 600);
    panel.show();
    QApplication::processEvents();
    const int count = std::min(listed, run.n);
    const int step = std::max(1, run.n / std::max(1, count));

    for (int i = 0; i < run.runs; ++i) {
        fillList(db, count, step);
        // The panel is entered from elsewhere: another filter, a record in the middle.
        c.setFilterText(QStringLiteral("CimVaros = 'Szeged'"));
        c.setFiltered(true);
        c.moveTo(c.recordCount() / 2);
        const RegisterPrint before = registerPrint(db);
        if (before.onList != count)
            run.fail(QStringLiteral("%1 listed instead of %2").arg(before.onList).arg(count));
        run.time([&] {
            panel.enter();
            QApplication::processEvents();
        });
        check(run, db, before, panel);
    }
    run.setSize(QStringLiteral("%1 properties, %2 on the print list").arg(run.n).arg(count));
});

} // namespace
