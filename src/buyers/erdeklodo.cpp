#include "buyers/erdeklodo.h"

#include "store/registerstate.h"
#include "store/tables.h"
#include "widgets/dialogframe.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *boxFor(const QString &name, const QString &field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    // The box takes no more than the table keeps, so nothing typed is lost on storing.
    edit->setMaxLength(tables::width(tables::erdeklodok, field));
    return edit;
}

} // namespace

TfErdeklodo::TfErdeklodo(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_tErdeklodo(cursors.tErdeklodo)
    , m_edit1(boxFor(QStringLiteral("Edit1"), QStringLiteral("Name")))
    , m_edit2(boxFor(QStringLiteral("Edit2"), QStringLiteral("Address")))
    , m_edit3(boxFor(QStringLiteral("Edit3"), QStringLiteral("Telefon")))
    , m_edit4(boxFor(QStringLiteral("Edit4"), QStringLiteral("Szigsz")))
{
    setObjectName(QStringLiteral("fErdeklodo"));
    setWindowTitle(QStringLiteral("Pelmora - Új érdeklődő"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Érdeklődő felvitele")));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Érdeklődő neve:"), m_edit1);
    form->addRow(QStringLiteral("Érdeklődő címe:"), m_edit2);
    form->addRow(QStringLiteral("Érdeklődő telefonszáma:"), m_edit3);
    form->addRow(QStringLiteral("Személyigazolvány száma:"), m_edit4);
    m_edit2->setMinimumWidth(320);
    layout->addLayout(form);

    auto *rogzit = new QPushButton(QStringLiteral("Rögzít"));
    rogzit->setObjectName(QStringLiteral("BitBtn1"));
    rogzit->setDefault(true);
    auto *torles = new QPushButton(QStringLiteral("Mezők törlése"));
    torles->setObjectName(QStringLiteral("Button2"));
    torles->setAutoDefault(false);
    auto *megsem = new QPushButton(QStringLiteral("Mégsem"));
    megsem->setObjectName(QStringLiteral("BitBtn2"));
    megsem->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(rogzit);
    buttons->addWidget(torles);
    buttons->addStretch();
    buttons->addWidget(megsem);
    layout->addLayout(buttons);

    setTabOrder(m_edit1, m_edit2);
    setTabOrder(m_edit2, m_edit3);
    setTabOrder(m_edit3, m_edit4);
    setTabOrder(m_edit4, rogzit);
    setTabOrder(rogzit, torles);
    setTabOrder(torles, megsem);

    connect(rogzit, &QPushButton::clicked, this, &TfErdeklodo::BitBtn1Click);
    connect(torles, &QPushButton::clicked, this, &TfErdeklodo::Button2Click);
    connect(megsem, &QPushButton::clicked, this, &QDialog::reject);
}

TfErdeklodo::Outcome TfErdeklodo::ask()
{
    fixAndCentre(this);
    return exec() == QDialog::Accepted ? Outcome::GoOn : Outcome::Abandon;
}

Buyer TfErdeklodo::buyer() const
{
    return {m_edit1->text(), m_edit2->text(), m_edit3->text(), m_edit4->text()};
}

void TfErdeklodo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_edit1->setFocus();
}

void TfErdeklodo::BitBtn1Click()
{
    for (QLineEdit *edit : {m_edit1, m_edit2, m_edit3, m_edit4}) {
        if (edit->text().isEmpty()) {
            showMessage(QStringLiteral("Nincs elegendő adat!"));
            edit->setFocus();
            return;
        }
    }
    accept();
}

void TfErdeklodo::Button2Click()
{
    for (QLineEdit *edit : {m_edit1, m_edit2, m_edit3, m_edit4})
        edit->clear();
}
