#include "shell/askquit.h"

#include "widgets/dialogframe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfQuit::TfQuit(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fQuit"));
    setWindowTitle(QStringLiteral("Pelmora - Ingatlan Nyilvántartás"));
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("Valóban ki szeretne lépni a programból?"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto *buttons = new QHBoxLayout;
    auto *yes = new QPushButton(QStringLiteral("Igen"));
    yes->setObjectName(QStringLiteral("Button1"));
    yes->setAutoDefault(false);
    auto *no = new QPushButton(QStringLiteral("Nem"));
    no->setObjectName(QStringLiteral("Button2"));
    no->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    layout->addLayout(buttons);
    fixAndCentre(this);
}
