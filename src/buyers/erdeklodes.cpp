#include "buyers/erdeklodes.h"

#include "buyers/erdmodosit.h"
#include "buyers/erdutkoztet.h"
#include "buyers/matching.h"
#include "buyers/requestcheck.h"
#include "buyers/requestform.h"
#include "buyers/ujerdeklodes.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"
#include "widgets/numberedit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfErdeklodes::TfErdeklodes(RegisterState &cursors, const RequestWindows &windows, QWidget *parent)
    : QDialog(parent)
    , m_cursors(cursors)
    , m_windows(windows)
    , m_tErdeklodes(cursors.tErdeklodes)
    , m_binder(tables::erdeklodes)
{
    setObjectName(QStringLiteral("fErdeklodes"));
    setWindowTitle(QStringLiteral("Pelmora - Ingatlant keres"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Ingatlant keres")));
    layout->addWidget(buildGrid(), 1);

    auto *groups = new QHBoxLayout;
    layout->addLayout(groups);
    groups->addWidget(buildSoughtGroup(), 1);
    groups->addWidget(buildBuyerGroup(), 1);
    layout->addLayout(buildButtons());

    connect(&m_tErdeklodes, &Cursor::currentChanged, this, &TfErdeklodes::loadBoxes);
    connect(&m_tErdeklodes, &Cursor::viewChanged, this, &TfErdeklodes::loadBoxes);
    resize(820, 600);
}

CursorGrid *TfErdeklodes::buildGrid()
{
    DBGrid1 = new CursorGrid(
        &m_tErdeklodes,
        {{QStringLiteral("UtkozesText"), QStringLiteral("Találat"), Qt::AlignHCenter},
         {QStringLiteral("Nev"), QStringLiteral("Érdeklődő")},
         {QStringLiteral("TipusText"), QStringLiteral("Ingatlan típusa")},
         {QStringLiteral("Telepules"), QStringLiteral("Település")},
         {QStringLiteral("Mikor"), QStringLiteral("Időpont")}});
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    // A change typed into the boxes is stored before another request is chosen, with its entry
    // in the log; one that cannot be stored keeps the request where it is.
    DBGrid1->setMoveCheck([this] {
        if (guarded([this] { storeRequestEdit(m_tErdeklodes); }))
            return true;
        loadBoxes();
        return false;
    });
    DBGrid1->setColumnWidth(0, 60);
    DBGrid1->setColumnWidth(1, 180);
    DBGrid1->setColumnWidth(2, 140);
    DBGrid1->setColumnWidth(3, 140);
    return DBGrid1;
}

QGroupBox *TfErdeklodes::buildSoughtGroup()
{
    auto *sought = new QGroupBox(QStringLiteral(" Keresett ingatlan "));
    auto *soughtGrid = new QGridLayout(sought);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Típusa:")), 0, 0);
    soughtGrid->addWidget(boundLine("TipusText"), 0, 1, 1, 4);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Települése:")), 1, 0);
    soughtGrid->addWidget(boundLine("Telepules"), 1, 1, 1, 4);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Megye:")), 2, 0);
    soughtGrid->addWidget(boundLine("CimMegye"), 2, 1, 1, 4);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Ára:")), 3, 0);
    m_artol = boundAmount("Artol");
    soughtGrid->addWidget(m_artol, 3, 1);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Forinttól - ")), 3, 2);
    m_arig = boundAmount("Arig");
    soughtGrid->addWidget(m_arig, 3, 3);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Forintig")), 3, 4);
    soughtGrid->addWidget(new QLabel(QStringLiteral("Szöveg:")), 4, 0, Qt::AlignTop);
    m_szoveg = new QPlainTextEdit;
    m_szoveg->setObjectName(QStringLiteral("Szoveg"));
    m_szoveg->setTabChangesFocus(true);
    m_szoveg->setFixedHeight(m_szoveg->fontMetrics().lineSpacing() * 4 + 12);
    m_binder.bind(m_szoveg, QStringLiteral("Szoveg"));
    connect(m_szoveg, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_tErdeklodes.setValue(QStringLiteral("Szoveg"),
                                   textformat::memoFromEdit(m_szoveg->toPlainText()));
    });
    soughtGrid->addWidget(m_szoveg, 4, 1, 1, 4);
    return sought;
}

QGroupBox *TfErdeklodes::buildBuyerGroup()
{
    auto *buyer = new QGroupBox(QStringLiteral(" Érdeklődő adatai "));
    auto *buyerGrid = new QGridLayout(buyer);
    buyerGrid->addWidget(new QLabel(QStringLiteral("Név:")), 0, 0);
    buyerGrid->addWidget(boundLine("Nev"), 0, 1, 1, 2);
    buyerGrid->addWidget(new QLabel(QStringLiteral("Cím:")), 1, 0);
    QLineEdit *irsz = boundLine("CimIrsz");
    irsz->setMaximumWidth(irsz->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    buyerGrid->addWidget(irsz, 1, 1);
    buyerGrid->addWidget(boundLine("CimVaros"), 1, 2);
    buyerGrid->addWidget(boundLine("CimUtca"), 2, 1, 1, 2);
    buyerGrid->addWidget(new QLabel(QStringLiteral("Tel.:")), 3, 0);
    buyerGrid->addWidget(boundLine("Telefon"), 3, 1, 1, 2);
    buyerGrid->addWidget(new QLabel(QStringLiteral("Email:")), 4, 0);
    buyerGrid->addWidget(boundLine("Email"), 4, 1, 1, 2);
    buyerGrid->addWidget(new QLabel(QStringLiteral("Időpontja:")), 5, 0);
    buyerGrid->addWidget(boundLine("Mikor"), 5, 1, 1, 2);
    return buyer;
}

QHBoxLayout *TfErdeklodes::buildButtons()
{
    auto *talalatok = button("Button2", QStringLiteral("Találatok..."));
    auto *uj = button("BitBtn2", QStringLiteral("Új"));
    uj->setDefault(true);
    auto *torles = button("BitBtn3", QStringLiteral("Törlés"));
    auto *modositas = button("BitBtn4", QStringLiteral("Módosítás"));
    auto *frissites = button("Button1", QStringLiteral("Frissítés"));
    auto *bezar = button("BitBtn1", QStringLiteral("Bezár"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {talalatok, uj, torles, modositas, frissites})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(bezar);

    connect(talalatok, &QPushButton::clicked, this, &TfErdeklodes::Button2Click);
    connect(uj, &QPushButton::clicked, this, &TfErdeklodes::BitBtn2Click);
    connect(torles, &QPushButton::clicked, this, &TfErdeklodes::BitBtn3Click);
    connect(modositas, &QPushButton::clicked, this, &TfErdeklodes::BitBtn4Click);
    connect(frissites, &QPushButton::clicked, this, &TfErdeklodes::Utkoztet);
    connect(bezar, &QPushButton::clicked, this, &QDialog::reject);
    return buttons;
}

QLineEdit *TfErdeklodes::boundLine(const char *field)
{
    auto *edit = new QLineEdit;
    const QString name = QLatin1String(field);
    edit->setObjectName(name);
    connect(edit, &QLineEdit::textEdited, this,
            [this, name](const QString &text) { m_tErdeklodes.setValue(name, text); });
    return m_binder.bind(edit, name);
}

NumberEdit *TfErdeklodes::boundAmount(const char *field)
{
    const QString name = QLatin1String(field);
    NumberEdit *edit = m_binder.bind(makeAmountEdit(name), name, true);
    // Taken over when the box is left (before a click elsewhere acts), so that an amount the
    // table cannot hold never reaches the record.
    connect(edit, &QAbstractSpinBox::editingFinished, this,
            [this, edit, name] { amountFinished(edit, name); });
    return edit;
}

void TfErdeklodes::amountFinished(NumberEdit *box, const QString &field)
{
    const double stored = m_tErdeklodes.number(field);
    const double typed = textformat::roundHalfEven(box->value());
    // Unchanged is what the box was loaded with, as far as it can show it.
    if (typed == textformat::roundHalfEven(std::clamp(stored, box->minimum(), box->maximum())))
        return;
    const QString problem = amountProblem(typed);
    if (problem.isEmpty()) {
        m_tErdeklodes.setValue(field, typed);
        return;
    }
    box->setValue(stored);
    showMessage(problem);
}

void TfErdeklodes::loadBoxes()
{
    if (!m_tErdeklodes.isOpen())
        return;
    m_loading = true;
    m_binder.load(m_tErdeklodes);
    m_loading = false;
}

void TfErdeklodes::openFromMenu()
{
    Utkoztet();
    exec();
}

void TfErdeklodes::Utkoztet()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // A refused change stays in the boxes, to be mended or dropped.
    if (!guarded([this] {
            storeRequestEdit(m_tErdeklodes);
            matching::utkoztet(m_tErdeklodes, m_cursors.tEgyszeru);
        }))
        loadBoxes();
    QGuiApplication::restoreOverrideCursor();
}

void TfErdeklodes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    guarded([this] { m_tErdeklodes.open(); });
    loadBoxes();
    DBGrid1->followCursor();
}

void TfErdeklodes::done(int result)
{
    // Closing drops an edit made in place and not stored yet.
    m_tErdeklodes.close();
    QDialog::done(result);
}

void TfErdeklodes::Button2Click()
{
    const Record request = m_tErdeklodes.record();
    if (!request.boolean(QStringLiteral("Utkozes")))
        return;
    guarded([&] { m_windows.fErdUtkoztet->showHits(matching::criteriaOf(request)); });
}

void TfErdeklodes::BitBtn2Click()
{
    if (!guarded([this] {
            storeRequestEdit(m_tErdeklodes);
            m_windows.fUjErdeklodes->exec();
        }))
        loadBoxes();
}

void TfErdeklodes::BitBtn3Click()
{
    if (!askQuestion(QStringLiteral("Biztosan törli a bejegyzést?")))
        return;
    guarded([this] { deleteRequest(m_tErdeklodes); });
}

void TfErdeklodes::BitBtn4Click()
{
    m_windows.fModositErdeklodes->exec();
    Utkoztet();
}
