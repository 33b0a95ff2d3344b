#include "register/printlist.h"

#include "store/bulkwrite.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/tables.h"

namespace {

const QString printField = QStringLiteral("Print");

} // namespace

void putOnPrintList(Cursor &tEgyszeru)
{
    if (tEgyszeru.isEmpty())
        return;
    tEgyszeru.edit();
    tEgyszeru.setValue(printField, true);
    tEgyszeru.post();
}

void NyomtatasiListaTorles(Cursor &tEgyszeru)
{
    // An edit still open is stored first, so it cannot put its property back on the list.
    tEgyszeru.post();
    Selection listed(tEgyszeru.def());
    listed.addFilter(Filter::parse(filters::printListed()), tEgyszeru.caseInsensitive());
    bulkwrite::setField(tEgyszeru.database(), listed, printField, false);
    tEgyszeru.first();
}
