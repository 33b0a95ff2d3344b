#include "workingowners.h"

#include "cursor.h"

void emptyWorkingOwners(Cursor &tdTulaj)
{
    if (!tdTulaj.isOpen())
        tdTulaj.open();
    tdTulaj.first();
    for (int remaining = tdTulaj.recordCount(); remaining > 0 && !tdTulaj.isEmpty(); --remaining)
        tdTulaj.remove();
}
