#include "buyers/erdmodosit.h"

#include "store/cursor.h"

#include <QLineEdit>
#include <QShowEvent>

TfModositErdeklodes::TfModositErdeklodes(RegisterState &cursors, Cursor &tErdeklodes,
                                         QWidget *parent)
    : RequestForm(cursors, tErdeklodes, QStringLiteral("Pelmora - Ingatlant keres módosítása"),
                  QStringLiteral("Ingatlant keres módosítás"), parent)
{
    setObjectName(QStringLiteral("fModositErdeklodes"));
}

void TfModositErdeklodes::showEvent(QShowEvent *event)
{
    RequestForm::showEvent(event);
    if (event->spontaneous())
        return;
    loadBoxes();
    eNev->setFocus();
}

void TfModositErdeklodes::startRecord()
{
    // Editing an empty request list starts a new request.
    m_tErdeklodes.edit();
}
