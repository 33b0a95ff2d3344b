#include "tulajmodosit.h"

#include "cursor.h"
#include "reporting.h"

#include <QLineEdit>

TfTulajModosit::TfTulajModosit(Cursor &tdTulaj, QWidget *parent)
    : OwnerDialog(tdTulaj, QStringLiteral("fTulajModosit"), QStringLiteral("Tulajdonos módosítása"),
                  QStringLiteral("Telefon:"), QStringLiteral("Módosít"), parent)
{ }

void TfTulajModosit::showEvent(QShowEvent *event)
{
    OwnerDialog::showEvent(event);
    readCurrent();
    edit("Nev")->setFocus();
}

void TfTulajModosit::accept()
{
    const bool stored = runReportingErrors([this] {
        m_tdTulaj.edit();
        writeCurrent();
    });
    if (stored)
        OwnerDialog::accept();
    else
        m_tdTulaj.cancel();
}
