#include "buyers/erdmodosit.h"

#include "store/cursor.h"
#include "store/database.h"
#include "store/filter.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "widgets/errorboundary.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TfModositErdeklodes::TfModositErdeklodes(RegisterState &cursors, Cursor &tErdeklodes,
                                         QWidget *parent)
    : RequestForm(cursors, tErdeklodes, QStringLiteral("Pelmora - Ingatlant keres módosítása"),
                  QStringLiteral("Ingatlant keres módosítás"), parent)
{
    setObjectName(QStringLiteral("fModositErdeklodes"));
    auto *reload = new QPushButton(QStringLiteral("Újraolvasás"));
    reload->setObjectName(QStringLiteral("btUjraolvasas"));
    reload->setAutoDefault(false);
    reload->setVisible(tErdeklodes.database().isServer());
    m_buttons->insertWidget(0, reload);
    connect(reload, &QPushButton::clicked, this, [this] { guarded([this] { reloadClick(); }); });
}

void TfModositErdeklodes::showEvent(QShowEvent *event)
{
    RequestForm::showEvent(event);
    if (event->spontaneous())
        return;
    loadBoxes();
    remember();
    eNev->setFocus();
}

void TfModositErdeklodes::remember()
{
    m_readId = m_tErdeklodes.isEmpty() ? 0 : m_tErdeklodes.integer(QStringLiteral("Id"));
    m_readVersion = m_tErdeklodes.rowVersion();
}

void TfModositErdeklodes::startRecord()
{
    if (m_readId != 0 && m_tErdeklodes.integer(QStringLiteral("Id")) != m_readId &&
        !m_tErdeklodes.locate(filters::withId(m_readId)))
        throw ConflictError(tables::erdeklodes, true);
    // Editing an empty request list starts a new request.
    m_tErdeklodes.edit(m_readId != 0 ? m_readVersion : -1);
}

void TfModositErdeklodes::reloadClick()
{
    m_tErdeklodes.reread();
    if (m_readId != 0 && m_tErdeklodes.integer(QStringLiteral("Id")) != m_readId &&
        !m_tErdeklodes.locate(filters::withId(m_readId)))
        throw ConflictError(tables::erdeklodes, true);
    loadBoxes();
    remember();
}
