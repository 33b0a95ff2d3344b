#include "requestform.h"

#include "counties.h"
#include "cursor.h"
#include "dialogframe.h"
#include "errorboundary.h"
#include "maincursors.h"
#include "messages.h"
#include "numberedit.h"
#include "textformat.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace {

// A one-line box as wide as its field, so nothing typed is cut silently.
QLineEdit *fieldEdit(const char *name, int width)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(width);
    return edit;
}

} // namespace

NumberEdit *makeAmountEdit(const QString &objectName)
{
    // Fifteen digits are still exact in a double.
    constexpr double typeable = 999999999999999;
    auto *edit = new NumberEdit(objectName, QStringLiteral(" Ft"), 0, typeable);
    edit->setMinimumWidth(
        edit->fontMetrics().horizontalAdvance(QStringLiteral("-2 147 483 648 Ft")) + 16);
    return edit;
}

QString amountProblem(double amount)
{
    const double whole = textformat::roundHalfEven(amount);
    if (whole > std::numeric_limits<qint32>::max())
        return QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!");
    if (whole < std::numeric_limits<qint32>::min())
        return QStringLiteral("Az összeg legalább -2 147 483 648 Ft lehet!");
    return {};
}

void limitStoredLength(QPlainTextEdit *edit, int width)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, width] {
        const QString text = edit->toPlainText();
        if (textformat::memoFromEdit(text).size() <= width)
            return;
        QString kept = text;
        while (textformat::memoFromEdit(kept).size() > width)
            kept.chop(1);
        edit->setPlainText(kept);
        edit->moveCursor(QTextCursor::End);
    });
}

RequestForm::RequestForm(MainCursors &cursors, Cursor &tErdeklodes, const QString &caption,
                         const QString &heading, QWidget *parent)
    : QDialog(parent)
    , m_tErdeklodes(tErdeklodes)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(heading));
    auto *form = new QFormLayout;
    layout->addLayout(form);

    // Created in tab order.
    eNev = fieldEdit("eNev", 50);
    form->addRow(QStringLiteral("Érdeklődő neve:"), eNev);
    eCimIrsz = fieldEdit("eCimIrsz", 4);
    eCimIrsz->setMaximumWidth(eCimIrsz->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                              16);
    eCimVaros = fieldEdit("eCimVaros", 50);
    eCimUtca = fieldEdit("eCimUtca", 25);
    auto *address = new QVBoxLayout;
    auto *town = new QHBoxLayout;
    town->addWidget(eCimIrsz);
    town->addWidget(eCimVaros, 1);
    address->addLayout(town);
    address->addWidget(eCimUtca);
    form->addRow(QStringLiteral("Érdeklődő címe:"), address);
    eTelefon = fieldEdit("eTelefon", 50);
    form->addRow(QStringLiteral("Telefonja:"), eTelefon);
    eEmail = fieldEdit("eEmail", 50);
    form->addRow(QStringLiteral("E-mail címe:"), eEmail);

    eTipus = new QComboBox;
    eTipus->setObjectName(QStringLiteral("eTipus"));
    eTipus->setEditable(false);
    // The type list as it stands at start-up; its positions are what `Tipus` keeps.
    Cursor &types = cursors.tItypes;
    const bool wasOpen = types.isOpen();
    types.open();
    for (int i = 0; i < types.recordCount(); ++i)
        eTipus->addItem(types.recordAt(i).text(QStringLiteral("Name")));
    if (!wasOpen)
        types.close();
    form->addRow(QStringLiteral("Keresett típus:"), eTipus);
    eTelepules = fieldEdit("eTelepules", 50);
    form->addRow(QStringLiteral("Település:"), eTelepules);
    eCimMegye = new QComboBox;
    eCimMegye->setObjectName(QStringLiteral("eCimMegye"));
    eCimMegye->setEditable(true);
    eCimMegye->setInsertPolicy(QComboBox::NoInsert);
    eCimMegye->addItems(hungarianCounties());
    eCimMegye->lineEdit()->setMaxLength(35);
    form->addRow(QStringLiteral("Megye:"), eCimMegye);

    eArtol = makeAmountEdit(QStringLiteral("eArtol"));
    eArig = makeAmountEdit(QStringLiteral("eArig"));
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
    limitStoredLength(eSzoveg, 255);
    form->addRow(QStringLiteral("Szöveg:"), eSzoveg);

    auto *rogzit = new QPushButton(QStringLiteral("Rögzít"));
    rogzit->setObjectName(QStringLiteral("BitBtn2"));
    rogzit->setDefault(true);
    auto *megsem = new QPushButton(QStringLiteral("Mégsem"));
    megsem->setObjectName(QStringLiteral("BitBtn1"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(rogzit);
    buttons->addWidget(megsem);
    layout->addLayout(buttons);
    connect(rogzit, &QPushButton::clicked, this, &RequestForm::BitBtn2Click);
    connect(megsem, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(480);
}

void RequestForm::clearBoxes()
{
    for (QLineEdit *edit : {eNev, eCimIrsz, eCimVaros, eCimUtca, eTelefon, eEmail, eTelepules})
        edit->clear();
    eTipus->setCurrentIndex(-1);
    eCimMegye->setCurrentIndex(-1);
    eCimMegye->setEditText(QString());
    eArtol->setValue(0);
    eArig->setValue(0);
    eSzoveg->clear();
}

void RequestForm::loadBoxes()
{
    const Cursor &c = m_tErdeklodes;
    eNev->setText(c.text(QStringLiteral("Nev")));
    eCimIrsz->setText(c.text(QStringLiteral("CimIrsz")));
    eCimVaros->setText(c.text(QStringLiteral("CimVaros")));
    eCimUtca->setText(c.text(QStringLiteral("CimUtca")));
    eTelefon->setText(c.text(QStringLiteral("Telefon")));
    eEmail->setText(c.text(QStringLiteral("Email")));
    // By position: after the type list changed order this may name another type than the
    // stored text, as the list is what the request was made from. A position off the list
    // selects nothing, and the check then asks for a type.
    const int tipus = c.integer(QStringLiteral("Tipus"));
    eTipus->setCurrentIndex(tipus < eTipus->count() ? tipus : -1);
    eTelepules->setText(c.text(QStringLiteral("Telepules")));
    eCimMegye->setEditText(c.text(QStringLiteral("CimMegye")));
    eArtol->setValue(c.number(QStringLiteral("Artol")));
    eArig->setValue(c.number(QStringLiteral("Arig")));
    eSzoveg->setPlainText(textformat::memoToEdit(c.text(QStringLiteral("Szoveg"))));
}

bool RequestForm::failsCheck()
{
    const std::pair<QWidget *, bool> required[] {
        {eNev, eNev->text().isEmpty()},
        {eCimIrsz, eCimIrsz->text().isEmpty()},
        {eCimVaros, eCimVaros->text().isEmpty()},
        {eCimUtca, eCimUtca->text().isEmpty()},
        {eCimMegye, eCimMegye->currentText().isEmpty()},
        {eTipus, eTipus->currentIndex() < 0},
        {eTelefon, eTelefon->text().isEmpty()},
    };
    for (const auto &[box, empty] : required) {
        if (empty) {
            showMessage(QStringLiteral("Nincs elég adat!"));
            box->setFocus();
            return true;
        }
    }
    for (NumberEdit *amount : {eArtol, eArig}) {
        const QString problem = amountProblem(amount->value());
        if (!problem.isEmpty()) {
            showMessage(problem);
            amount->setFocus();
            return true;
        }
    }
    return false;
}

void RequestForm::writeRecord()
{
    startRecord();
    Cursor &c = m_tErdeklodes;
    c.setValue(QStringLiteral("Nev"), eNev->text());
    c.setValue(QStringLiteral("CimIrsz"), eCimIrsz->text());
    c.setValue(QStringLiteral("CimVaros"), eCimVaros->text());
    c.setValue(QStringLiteral("CimUtca"), eCimUtca->text());
    c.setValue(QStringLiteral("CimMegye"), eCimMegye->currentText());
    c.setValue(QStringLiteral("Telepules"), eTelepules->text());
    c.setValue(QStringLiteral("Szoveg"), textformat::memoFromEdit(eSzoveg->toPlainText()));
    c.setValue(QStringLiteral("Telefon"), eTelefon->text());
    c.setValue(QStringLiteral("Email"), eEmail->text());
    c.setValue(QStringLiteral("Tipus"), eTipus->currentIndex());
    c.setValue(QStringLiteral("TipusText"), eTipus->currentText());
    c.setValue(QStringLiteral("Artol"), textformat::roundHalfEven(eArtol->value()));
    c.setValue(QStringLiteral("Arig"), textformat::roundHalfEven(eArig->value()));
    c.setValue(QStringLiteral("Mikor"), textformat::timestampNow());
    c.post();
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
