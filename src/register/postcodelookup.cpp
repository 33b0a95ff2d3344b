#include "register/postcodelookup.h"

#include "store/cursor.h"
#include "store/filter.h"

SettlementOfPostcode lookUpPostcode(Cursor &tTelep, const QString &postcode)
{
    if (!tTelep.isOpen())
        tTelep.open();
    tTelep.setFilterText(QStringLiteral("Irsz = ") + Filter::quote(postcode));
    tTelep.setFiltered(true);
    tTelep.first();
    if (tTelep.isEmpty())
        return {};
    return {tTelep.text(QStringLiteral("Name")), tTelep.text(QStringLiteral("Megye"))};
}
