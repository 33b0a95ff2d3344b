#include "bench/benchcase.h"
#include "bench/generator.h"
#include "register/propertystore.h"
#include "store/cursor.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "widgets/cursormodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

// Another workstation's save seen here: workstation A saves a property as its modify window
// does; the time runs from A's commit to the moment workstation B's grid (a model over B's
// property cursor in price order, as the search panel holds it) shows the new value. B hears of
// the commit only through the server's notification, on its event loop.
namespace {

constexpr int screenRows = 30;
constexpr int giveUpMs = 5000;

// B's event loop runs until its grid shows `street` in the row, or gives up.
bool waitUntilShown(const CursorModel &grid, int row, const QString &street)
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    giveUp.start(giveUpMs);
    const QModelIndex cell = grid.index(row, 1);
    while (!grid.data(cell, Qt::DisplayRole).toString().contains(street)) {
        if (!giveUp.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

static BenchRegistrar registrar(QStringLiteral("refresh"), 100000, 20, [](BenchRun &run) {
    if (!run.onServer()) {
        run.notApplicable(QStringLiteral(
            "the embedded register is one program's at a time (ingatlan.lck): no other "
            "workstation commits to it, and this program's own cursors see its writes at once"));
        return;
    }
    const QString office = QStringLiteral("office");
    {
        BenchDatabase first(run, office);
        generator::generateRegister(first, run.n);
    }
    BenchDatabase atA(run, office, 1);
    BenchDatabase atB(run, office, 2);
    RegisterState a(atA);
    a.tEgyszeru.open();
    Cursor shown(atB, tables::egyszeru, true);
    shown.open();
    shown.setIndexName(QStringLiteral("iar"));
    const CursorModel grid(&shown,
                           {{QStringLiteral("Azonosito"), QStringLiteral("Azonosító")},
                            {QStringLiteral("CimTeljes"), QStringLiteral("Cím")}});

    std::vector<double> saves;
    for (int i = 0; i < run.runs; ++i) {
        const int row = i % std::min(screenRows, std::max(1, grid.rowCount()));
        PropertyChanges changes;
        changes.id = shown.recordAt(row).integer(QStringLiteral("Id"));
        const QString street = QStringLiteral("Mérő utca %1.").arg(i + 1);
        changes.fields = {{QStringLiteral("CimUtca"), street}};
        loadWorkingOwners(a, changes.id);
        QElapsedTimer save;
        save.start();
        saveModifiedProperty(a, changes);
        saves.push_back(static_cast<double>(save.nsecsElapsed()) / 1e6);
        bool seen = false;
        run.time([&] { seen = waitUntilShown(grid, row, street); });
        if (!seen)
            run.fail(QStringLiteral("B's grid did not show property %1's new street within %2 ms")
                         .arg(changes.id)
                         .arg(giveUpMs));
    }
    run.setSize(QStringLiteral("%1 properties, commit to B's grid; A's save itself %2 ms")
                    .arg(run.n)
                    .arg(median(saves), 0, 'f', 1));
});
