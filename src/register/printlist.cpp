#include "printlist.h"

#include "cursor.h"

void putOnPrintList(Cursor &tEgyszeru)
{
    if (tEgyszeru.isEmpty())
        return;
    tEgyszeru.edit();
    tEgyszeru.setValue(QStringLiteral("Print"), true);
    tEgyszeru.post();
}

void NyomtatasiListaTorles(Cursor &tEgyszeru)
{
    const QString remembered = tEgyszeru.filterText();
    const bool wasFiltered = tEgyszeru.filtered();
    tEgyszeru.setFilterText(QStringLiteral("Print = True"));
    tEgyszeru.setFiltered(true);
    tEgyszeru.first();
    // Each stored record leaves the filtered view and hands its place to the next one.
    const int listed = tEgyszeru.recordCount();
    for (int i = 0; i < listed; ++i) {
        tEgyszeru.edit();
        tEgyszeru.setValue(QStringLiteral("Print"), false);
        tEgyszeru.post();
    }
    tEgyszeru.setFilterText(remembered);
    tEgyszeru.setFiltered(wasFiltered);
    tEgyszeru.first();
}
