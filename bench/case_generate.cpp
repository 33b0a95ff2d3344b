#include "bench/benchcase.h"
#include "bench/generator.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"

// How long the synthetic register takes to write through the table layer; the other cases
// build on it.
static BenchRegistrar registrar(QStringLiteral("generate"), 100000, 1, [](BenchRun &run) {
    for (int i = 0; i < run.runs; ++i) {
        BenchDatabase db(run, QStringLiteral("run%1").arg(i));
        run.time([&] { generator::generateRegister(db, run.n); });
        Cursor c(db, tables::egyszeru, true);
        if (c.recordCount() != run.n)
            run.fail(QStringLiteral("%1 records instead of %2").arg(c.recordCount()).arg(run.n));
    }
    run.setSize(QStringLiteral("%1 properties").arg(run.n));
});
