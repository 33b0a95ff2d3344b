#include "widgets/kerdes.h"

#include "widgets/dialogframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfKerdes::TfKerdes(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fKerdes"));
    QVBoxLayout *area = nullptr;
    m_uzenet = buildMessageFrame(this, QStringLiteral("Pelmora - Kérdés"), QStringLiteral("Kérdés"),
                                 true, &area);
    auto *buttons = new QHBoxLayout;
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"));
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    buttons->addStretch();
    area->addLayout(buttons);
}

void TfKerdes::setText(const QString &text)
{
    m_uzenet->setText(text);
    m_uzenet->adjustSize();
    adjustSize();
}
