#include "register/tulajhozzaad.h"

#include "store/cursor.h"

TfTulajHozzaad::TfTulajHozzaad(Cursor &tdTulaj, QWidget *parent)
    : OwnerDialog(tdTulaj, QStringLiteral("fTulajHozzaad"), QStringLiteral("Tulajdonos hozzáadása"),
                  QStringLiteral("Telefonszám:"), QStringLiteral("Rögzít"), parent)
{ }

void TfTulajHozzaad::startRecord()
{
    list().append();
}
