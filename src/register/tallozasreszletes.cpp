#include "register/tallozasreszletes.h"

#include "register/propertystore.h"
#include "register/reszletes.h"
#include "store/cursor.h"
#include "store/registerstate.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TfTallozreszletes::TfTallozreszletes(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_azonosito(new QLabel(this))
    , m_description(new DetailedDescription)
{
    setObjectName(QStringLiteral("fTallozreszletes"));
    setWindowTitle(QStringLiteral("Pelmora - (Tallózás - részletes leírás)"));

    auto *layout = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    head->addWidget(makeHeading(QStringLiteral("Ingatlan részletes adatai")));
    head->addStretch();
    m_azonosito->setObjectName(QStringLiteral("rAzonosito"));
    m_azonosito->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    head->addWidget(m_azonosito);
    layout->addLayout(head);

    m_description->useBrowseCaptions();
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidget(m_description);
    scroll->setWidgetResizable(true);
    scroll->setMinimumSize(m_description->sizeHint().width() + 30, 520);
    layout->addWidget(scroll);

    addCloseButton(this, layout);
    fixAndCentre(this);

    guarded([this, &cursors] { load(cursors); });
}

void TfTallozreszletes::load(RegisterState &cursors)
{
    // A property marked as described whose record is missing shows a blank form, never the
    // record another property left in the controls.
    m_description->clear();
    m_azonosito->clear();
    if (cursors.tEgyszeru.isEmpty())
        return;
    const Record detailed =
        detailedRecordOf(cursors.db, cursors.tEgyszeru.integer(QStringLiteral("Id")));
    if (!detailed.isNull()) {
        m_azonosito->setText(detailed.text(QStringLiteral("Azonosito")));
        m_description->loadFrom(detailed);
    }
}
