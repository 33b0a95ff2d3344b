#include "store/filter.h"
#include "store/record.h"
#include "store/storeerror.h"
#include "store/tables.h"

#include <cstddef>
#include <cstdint>

// Filter texts come from typed searches and from the stored requests: any text either parses into
// a tree that both evaluators accept, or is refused with a message.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TableDef &table = tables::def(tables::egyszeru);
    static const Record record = [&table] {
        Record r(&table);
        r.setValue(QStringLiteral("Azonosito"), QStringLiteral("ÁRVÍZTŰRŐ-1"));
        r.setValue(QStringLiteral("Ar"), 12500000.0);
        r.setValue(QStringLiteral("Web"), true);
        return r;
    }();
    try {
        const Filter filter = Filter::parse(text);
        for (const bool caseInsensitive : {false, true}) {
            filter.toSql(table, caseInsensitive);
            filter.matches(record, caseInsensitive);
        }
    } catch (const StoreError &) { }
    return 0;
}
