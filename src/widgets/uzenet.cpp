#include "widgets/uzenet.h"

#include "widgets/dialogframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfUzenet::TfUzenet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fUzenet"));
    QVBoxLayout *area = nullptr;
    m_uzenet = buildMessageFrame(this, QStringLiteral("Pelmora - Üzenet"), QStringLiteral("Üzenet"),
                                 false, &area);
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    area->addLayout(buttons);
}

void TfUzenet::setText(const QString &text)
{
    m_uzenet->setText(text);
    m_uzenet->adjustSize();
    adjustSize();
}
