#include "workingowners.h"

#include "workinglist.h"

void emptyWorkingOwners(Cursor &tdTulaj)
{
    workinglist::empty(tdTulaj);
}
