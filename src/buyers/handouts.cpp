#include "buyers/handouts.h"

#include "store/cursor.h"
#include "store/record.h"
#include "store/tables.h"
#include "store/textformat.h"

Record handoutRecord(double ingatlanId, const QString &ingatlanAzon, const Buyer &buyer,
                     const QDateTime &when)
{
    Record handout(&tables::def(tables::erdeklodok));
    handout.setValue(QStringLiteral("IngatlanId"), ingatlanId);
    handout.setValue(QStringLiteral("IngatlanAzon"), ingatlanAzon);
    handout.setValue(QStringLiteral("Name"), buyer.name);
    handout.setValue(QStringLiteral("Address"), buyer.address);
    handout.setValue(QStringLiteral("Telefon"), buyer.telefon);
    handout.setValue(QStringLiteral("Szigsz"), buyer.szigsz);
    handout.setValue(QStringLiteral("When"), when);
    return handout;
}

void ErdeklodoFelvitel(Cursor &tErdeklodo, const Record &handout)
{
    tErdeklodo.append();
    for (const FieldDef &field : tErdeklodo.def().fields) {
        if (field.kind != FieldKind::AutoInc)
            tErdeklodo.setValue(field.name, handout.value(field.name));
    }
    tErdeklodo.post();
}

void ErdeklodoFelvitel(Cursor &tErdeklodo, double ingatlanId, const QString &ingatlanAzon,
                       const Buyer &buyer, const QDateTime &when)
{
    ErdeklodoFelvitel(tErdeklodo, handoutRecord(ingatlanId, ingatlanAzon, buyer, when));
}

QString handoutFilter(double ingatlanId)
{
    return QStringLiteral("IngatlanId = ") + textformat::filterNumber(ingatlanId);
}

Record latestHandout(Cursor &tErdeklodo, double ingatlanId)
{
    tErdeklodo.open();
    tErdeklodo.setFilterText(handoutFilter(ingatlanId));
    tErdeklodo.setFiltered(true);
    tErdeklodo.last();
    if (tErdeklodo.isEmpty())
        return {};
    return tErdeklodo.record();
}
