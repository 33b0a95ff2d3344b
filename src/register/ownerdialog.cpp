#include "register/ownerdialog.h"

#include "register/workingowners.h"
#include "store/cursor.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

OwnerDialog::OwnerDialog(Cursor &tdTulaj, const QString &objectName, const QString &title,
                         const QString &phoneLabel, const QString &confirmCaption, QWidget *parent)
    : QDialog(parent)
    , m_list(&tdTulaj)
{
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("Pelmora - ") + title);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(title));

    for (const char *field : ownerFields) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("h") + QString::fromLatin1(field));
        m_edits << edit;
    }
    auto *grid = new QGridLayout;
    auto row = [&](const QString &label, QWidget *control) {
        const int at = grid->rowCount();
        if (!label.isEmpty())
            grid->addWidget(new QLabel(label, this), at, 0);
        grid->addWidget(control, at, 1);
    };
    row(QStringLiteral("Név:"), edit("Nev"));
    // Postcode and settlement share the first address line, the street is the second.
    auto *firstLine = new QHBoxLayout;
    edit("Irsz")->setMaximumWidth(60);
    firstLine->addWidget(edit("Irsz"));
    firstLine->addWidget(edit("Varos"), 1);
    const int addressRow = grid->rowCount();
    grid->addWidget(new QLabel(QStringLiteral("Cím:"), this), addressRow, 0);
    grid->addLayout(firstLine, addressRow, 1);
    row(QString(), edit("Utca"));
    row(QStringLiteral("Személyigazolvány szám:"), edit("Szigsz"));
    row(QStringLiteral("Anyja neve:"), edit("Anyja"));
    row(QStringLiteral("Tulajdoni hányad:"), edit("Hanyad"));
    row(phoneLabel, edit("Telefon"));
    grid->setColumnMinimumWidth(1, 280);
    layout->addLayout(grid);

    auto *confirm = new QPushButton(confirmCaption, this);
    confirm->setObjectName(QStringLiteral("BitBtn1"));
    confirm->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    for (int i = 1; i < m_edits.size(); ++i)
        setTabOrder(m_edits[i - 1], m_edits[i]);
    setTabOrder(m_edits.last(), confirm);
    setTabOrder(confirm, cancel);
    fixAndCentre(this);
}

QLineEdit *OwnerDialog::edit(const char *field) const
{
    for (int i = 0; i < m_edits.size(); ++i) {
        if (qstrcmp(ownerFields[i], field) == 0)
            return m_edits[i];
    }
    return nullptr;
}

void OwnerDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fillEdits();
    edit("Nev")->setFocus();
}

void OwnerDialog::accept()
{
    const bool stored = guarded([this] {
        if (!list().isOpen())
            list().open();
        startRecord();
        for (int i = 0; i < m_edits.size(); ++i)
            list().setValue(QString::fromLatin1(ownerFields[i]), m_edits[i]->text());
        list().post();
    });
    if (stored)
        QDialog::accept();
    else if (list().isOpen())
        list().cancel(); // the dialog stays open with what was typed
}

void OwnerDialog::readCurrent()
{
    for (int i = 0; i < m_edits.size(); ++i)
        m_edits[i]->setText(list().text(QString::fromLatin1(ownerFields[i])));
}

void OwnerDialog::clearEdits()
{
    for (QLineEdit *edit : std::as_const(m_edits))
        edit->clear();
}
