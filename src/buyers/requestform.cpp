#include "buyers/requestform.h"

#include "buyers/requestcheck.h"
#include "store/cursor.h"
#include "store/referencelists.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "widgets/counties.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"
#include "widgets/numberedit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString fieldName(const char *field)
{
    return QString::fromLatin1(field);
}

} // namespace

QLineEdit *RequestForm::fieldEdit(const char *name, const char *field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    return m_binder.bind(edit, fieldName(field));
}

NumberEdit *makeAmountEdit(const QString &objectName)
{
    // Fifteen digits are still exact in a double.
    constexpr double typeable = 999999999999999;
    auto *edit = new NumberEdit(objectName, QStringLiteral(" Ft"), 0, typeable);
    edit->setMinimumWidth(
        edit->fontMetrics().horizontalAdvance(QStringLiteral("-2 147 483 648 Ft")) + 16);
    return edit;
}

RequestForm::RequestForm(RegisterState &cursors, Cursor &tErdeklodes, const QString &caption,
                         const QString &heading, QWidget *parent)
    : QDialog(parent)
    , m_tErdeklodes(tErdeklodes)
    , m_binder(tables::erdeklodes)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(heading));
    auto *form = new QFormLayout;
    layout->addLayout(form);

    // Created in tab order.
    addBuyerRows(form);
    addRequestRows(form, cursors);
    layout->addLayout(buildButtons());
    setMinimumWidth(480);
}

void RequestForm::addBuyerRows(QFormLayout *form)
{
    eNev = fieldEdit("eNev", "Nev");
    form->addRow(QStringLiteral("Érdeklődő neve:"), eNev);
    eCimIrsz = fieldEdit("eCimIrsz", "CimIrsz");
    eCimIrsz->setMaximumWidth(eCimIrsz->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                              16);
    eCimVaros = fieldEdit("eCimVaros", "CimVaros");
    eCimUtca = fieldEdit("eCimUtca", "CimUtca");
    auto *address = new QVBoxLayout;
    auto *town = new QHBoxLayout;
    town->addWidget(eCimIrsz);
    town->addWidget(eCimVaros, 1);
    address->addLayout(town);
    address->addWidget(eCimUtca);
    form->addRow(QStringLiteral("Érdeklődő címe:"), address);
    eTelefon = fieldEdit("eTelefon", "Telefon");
    form->addRow(QStringLiteral("Telefonja:"), eTelefon);
    eEmail = fieldEdit("eEmail", "Email");
    form->addRow(QStringLiteral("E-mail címe:"), eEmail);
}

void RequestForm::addRequestRows(QFormLayout *form, RegisterState &cursors)
{
    eTipus = new QComboBox;
    eTipus->setObjectName(QStringLiteral("eTipus"));
    eTipus->setEditable(false);
    m_binder.bindIndex(eTipus, fieldName("Tipus"), fieldName("TipusText"));
    // The type list as it stands at start-up; its positions are what `Tipus` keeps.
    eTipus->addItems(nameList(cursors.tItypes));
    form->addRow(QStringLiteral("Keresett típus:"), eTipus);
    eTelepules = fieldEdit("eTelepules", "Telepules");
    form->addRow(QStringLiteral("Település:"), eTelepules);
    eCimMegye = new QComboBox;
    eCimMegye->setObjectName(QStringLiteral("eCimMegye"));
    eCimMegye->setEditable(true);
    eCimMegye->setInsertPolicy(QComboBox::NoInsert);
    eCimMegye->addItems(hungarianCounties());
    m_binder.bind(eCimMegye, fieldName("CimMegye"));
    form->addRow(QStringLiteral("Megye:"), eCimMegye);

    eArtol = m_binder.bind(makeAmountEdit(QStringLiteral("eArtol")), fieldName("Artol"), true);
    eArig = m_binder.bind(makeAmountEdit(QStringLiteral("eArig")), fieldName("Arig"), true);
    auto *prices = new QHBoxLayout;
    prices->addWidget(eArtol, 1);
    prices->addWidget(new QLabel(QStringLiteral("-tól")));
    prices->addWidget(eArig, 1);
    prices->addWidget(new QLabel(QStringLiteral("-ig")));
    form->addRow(QStringLiteral("Ára:"), prices);

    eSzoveg = new QPlainTextEdit;
    eSzoveg->setObjectName(QStringLiteral("eSzoveg"));
    eSzoveg->setTabChangesFocus(true);
    eSzoveg->setFixedHeight(eSzoveg->fontMetrics().lineSpacing() * 5 + 12);
    m_binder.bind(eSzoveg, fieldName("Szoveg"));
    form->addRow(QStringLiteral("Szöveg:"), eSzoveg);
}

QHBoxLayout *RequestForm::buildButtons()
{
    auto *rogzit = new QPushButton(QStringLiteral("Rögzít"));
    rogzit->setObjectName(QStringLiteral("BitBtn2"));
    rogzit->setDefault(true);
    auto *megsem = new QPushButton(QStringLiteral("Mégsem"));
    megsem->setObjectName(QStringLiteral("BitBtn1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(rogzit);
    buttons->addWidget(megsem);
    connect(rogzit, &QPushButton::clicked, this, &RequestForm::BitBtn2Click);
    connect(megsem, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons = buttons;
    return buttons;
}

void RequestForm::clearBoxes()
{
    m_binder.clear();
}

void RequestForm::loadBoxes()
{
    // The type by position: after the type list changed order this may name another type than
    // the stored text, as the list is what the request was made from. A position off the list
    // selects nothing, and the check then asks for a type.
    m_binder.load(m_tErdeklodes);
}

RequestEntry RequestForm::entry() const
{
    return {m_binder.values(), eArtol->value(), eArig->value()};
}

bool RequestForm::failsCheck()
{
    const auto problem = requestProblem(entry());
    if (!problem)
        return false;
    showMessage(problem->message);
    const std::pair<const char *, QWidget *> boxes[] {
        {"Nev", eNev},         {"CimIrsz", eCimIrsz},   {"CimVaros", eCimVaros},
        {"CimUtca", eCimUtca}, {"CimMegye", eCimMegye}, {"Tipus", eTipus},
        {"Telefon", eTelefon}, {"Artol", eArtol},       {"Arig", eArig},
    };
    for (const auto &[field, box] : boxes) {
        if (problem->field == QLatin1String(field))
            box->setFocus();
    }
    return true;
}

void RequestForm::writeRecord()
{
    startRecord();
    writeRequest(m_tErdeklodes, entry());
}

void RequestForm::BitBtn2Click()
{
    if (failsCheck())
        return;
    if (const auto failure = failureOf([this] { writeRecord(); })) {
        // The boxes keep what was typed, so the user can try again.
        m_tErdeklodes.cancel();
        showMessage(*failure);
        return;
    }
    accept();
}
