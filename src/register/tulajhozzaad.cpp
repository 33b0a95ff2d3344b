#include "tulajhozzaad.h"

#include "cursor.h"
#include "reporting.h"

#include <QLineEdit>

TfTulajHozzaad::TfTulajHozzaad(Cursor &tdTulaj, QWidget *parent)
    : OwnerDialog(tdTulaj, QStringLiteral("fTulajHozzaad"), QStringLiteral("Tulajdonos hozzáadása"),
                  QStringLiteral("Telefonszám:"), QStringLiteral("Rögzít"), parent)
{ }

void TfTulajHozzaad::showEvent(QShowEvent *event)
{
    OwnerDialog::showEvent(event);
    clearEdits();
    edit("Nev")->setFocus();
}

void TfTulajHozzaad::accept()
{
    const bool stored = runReportingErrors([this] {
        if (!m_tdTulaj.isOpen())
            m_tdTulaj.open();
        m_tdTulaj.append();
        writeCurrent();
    });
    if (stored)
        OwnerDialog::accept();
    else if (m_tdTulaj.isOpen())
        m_tdTulaj.cancel();
}
