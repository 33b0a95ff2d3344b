#include "register/tulajmodosit.h"

#include "store/cursor.h"

TfTulajModosit::TfTulajModosit(Cursor &tdTulaj, QWidget *parent)
    : OwnerDialog(tdTulaj, QStringLiteral("fTulajModosit"), QStringLiteral("Tulajdonos módosítása"),
                  QStringLiteral("Telefon:"), QStringLiteral("Módosít"), parent)
{ }

void TfTulajModosit::startRecord()
{
    list().edit();
}
