#include "buyers/ujerdeklodes.h"

#include "store/cursor.h"

#include <QLineEdit>
#include <QShowEvent>

TfUjErdeklodes::TfUjErdeklodes(RegisterState &cursors, Cursor &tErdeklodes, QWidget *parent)
    : RequestForm(cursors, tErdeklodes, QStringLiteral("Pelmora - Ingatlant keres"),
                  QStringLiteral("Ingatlant keres"), parent)
{
    setObjectName(QStringLiteral("fUjErdeklodes"));
}

void TfUjErdeklodes::showEvent(QShowEvent *event)
{
    RequestForm::showEvent(event);
    if (event->spontaneous())
        return;
    clearBoxes();
    eNev->setFocus();
}

void TfUjErdeklodes::startRecord()
{
    m_tErdeklodes.append();
}
