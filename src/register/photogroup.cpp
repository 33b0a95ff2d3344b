#include "register/photogroup.h"

#include "register/registerwindows.h"
#include "register/ujkep.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

PhotoGroup::PhotoGroup(RegisterWindows &windows, QWidget *parent)
    : QGroupBox(QStringLiteral(" Képek "), parent)
    , m_windows(windows)
    , m_count(new QLabel(QStringLiteral("0"), this))
{
    m_count->setObjectName(QStringLiteral("Label100"));
    auto *change = new QPushButton(QStringLiteral("Változtat..."), this);
    change->setObjectName(QStringLiteral("nKepValtoztat"));
    change->setAutoDefault(false);
    connect(change, &QPushButton::clicked, this, [this] {
        m_windows.fUjKep->exec();
        m_count->setText(m_windows.fUjKep->countText());
    });

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Összesen "), this));
    layout->addWidget(m_count);
    layout->addWidget(new QLabel(QStringLiteral("kép"), this));
    layout->addStretch();
    layout->addWidget(change);
}

int PhotoGroup::count() const
{
    return m_count->text().toInt();
}

void PhotoGroup::setCount(int count)
{
    m_count->setText(QString::number(count));
}
