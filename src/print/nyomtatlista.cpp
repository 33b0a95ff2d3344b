#include "print/nyomtatlista.h"

#include "print/adatlap1.h"
#include "print/adatlap2.h"
#include "print/printreports.h"
#include "store/cursorstate.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TfValasztNyomtat::TfValasztNyomtat(PrintReports &reports, QWidget *parent)
    : QDialog(parent)
    , m_reports(reports)
    , m_radio1(named(new QRadioButton(QStringLiteral("Aktuális ingatlan")), "RadioButton1"))
    , m_radio2(named(new QRadioButton(QStringLiteral("Nyomtatásra kijelölt ingatlanok")),
                     "RadioButton2"))
    , m_radio3(named(new QRadioButton(QStringLiteral("Az ingatlanhoz tartozó érdeklődők listája")),
                     "RadioButton3"))
    , m_group(named(new QGroupBox(QStringLiteral("Aktuális ingatlan")), "nyGroup"))
    , m_megbizo(named(new QCheckBox(QStringLiteral("Megbízó adataival")), "CheckBox2"))
    , m_reszletes(named(new QCheckBox(QStringLiteral("Részletes adatokkal")), "CheckBox1"))
    , m_archivalas(named(new QCheckBox(QStringLiteral("Archiválás")), "CheckBox3"))
    , m_cimlista(named(new QCheckBox(QStringLiteral("Érdeklődőnek címlista kiadás")), "CheckBox4"))
    , m_apro(named(new QCheckBox(QStringLiteral("Apróhírdetési szöveg")), "CheckBox5"))
    , m_copies(named(new QLineEdit(QStringLiteral("1")), "MaskEdit1"))
{
    setObjectName(QStringLiteral("fValasztNyomtat"));
    setWindowTitle(QStringLiteral("Pelmora - Nyomtatás"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Nyomtatás")));
    addChoices(layout);
    layout->addLayout(buildCopiesRow());
    addButtons(layout);

    for (QRadioButton *radio : {m_radio1, m_radio2, m_radio3})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                targetChosen();
        });
    connect(m_copies, &QLineEdit::textChanged, this, &TfValasztNyomtat::MaskEdit1Change);
    connect(m_copies, &QLineEdit::editingFinished, this, &TfValasztNyomtat::MaskEdit1Exit);
}

void TfValasztNyomtat::addChoices(QVBoxLayout *layout)
{
    layout->addWidget(m_radio1);
    layout->addWidget(m_radio2);
    m_radio1->setChecked(true);

    auto *boxes = new QVBoxLayout(m_group);
    for (QCheckBox *box : {m_megbizo, m_reszletes, m_archivalas, m_cimlista, m_apro}) {
        boxes->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
            if (on)
                checkBoxTicked(box);
        });
    }
    m_megbizo->setChecked(true);
    layout->addWidget(m_group);
    layout->addWidget(m_radio3);
}

QHBoxLayout *TfValasztNyomtat::buildCopiesRow()
{
    auto *copiesRow = new QHBoxLayout;
    copiesRow->addWidget(new QLabel(QStringLiteral("Példány:")));
    m_copies->setMaxLength(2);
    m_copies->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}")), m_copies));
    m_copies->setFixedWidth(m_copies->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    copiesRow->addWidget(m_copies);
    copiesRow->addWidget(new QLabel(QStringLiteral("db")));
    copiesRow->addStretch();
    auto *setup =
        named(new QLabel(QStringLiteral("<a href=\"setup\">Nyomtató beállítása...</a>")), "Label3");
    setup->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setup->setCursor(Qt::PointingHandCursor);
    copiesRow->addWidget(setup);
    connect(setup, &QLabel::linkActivated, this, [this] { m_reports.output.setupPrinter(this); });
    return copiesRow;
}

// The tab order runs through the buttons row, so it is set once that row is in the window.
void TfValasztNyomtat::addButtons(QVBoxLayout *layout)
{
    auto *print = named(new QPushButton(QStringLiteral("Nyomtatás")), "SpeedButton1");
    auto *preview = named(new QPushButton(QStringLiteral("Nyomtatási kép")), "SpeedButton2");
    auto *cancel = named(new QPushButton(QStringLiteral("Mégsem")), "BitBtn1");
    for (QPushButton *button : {print, preview}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(preview);
    buttons->addStretch();
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    setTabOrder(m_radio1, m_radio2);
    setTabOrder(m_radio2, m_megbizo);
    setTabOrder(m_megbizo, m_reszletes);
    setTabOrder(m_reszletes, m_archivalas);
    setTabOrder(m_archivalas, m_cimlista);
    setTabOrder(m_cimlista, m_apro);
    setTabOrder(m_apro, cancel);
    setTabOrder(cancel, m_copies);
    setTabOrder(m_copies, m_radio3);
    connect(print, &QPushButton::clicked, this, [this] { runSelection(Destination::Printer); });
    connect(preview, &QPushButton::clicked, this, [this] { runSelection(Destination::Preview); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfValasztNyomtat::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfValasztNyomtat::FormActivate()
{
    // Counting the print list borrows the shared cursor; it is put back as it was.
    Cursor &view = m_reports.cursors.tEgyszeru;
    int listed = 0;
    {
        CursorState keep(view);
        view.setFilterText(filters::printListed());
        view.setFiltered(true);
        listed = view.recordCount();
    }
    m_radio2->setEnabled(listed != 0);
}

void TfValasztNyomtat::targetChosen()
{
    if (m_radio3->isChecked()) {
        m_group->hide();
        return;
    }
    m_group->setTitle(m_radio2->isChecked() ? m_radio2->text() : m_radio1->text());
    m_group->show();
}

void TfValasztNyomtat::checkBoxTicked(QCheckBox *box)
{
    QList<QCheckBox *> untick;
    if (box == m_archivalas || box == m_apro)
        untick = {m_megbizo, m_reszletes, m_archivalas, m_cimlista, m_apro};
    else if (box == m_cimlista)
        // A handout always ends in an address list naming this buyer, which neither an archive
        // run nor an ad list would print.
        untick = {m_archivalas, m_apro};
    for (QCheckBox *other : untick)
        if (other != box)
            other->setChecked(false);
}

void TfValasztNyomtat::MaskEdit1Change()
{
    // The next keystroke replaces what is there; deferred, as the edit sets its cursor after
    // telling of the change.
    QTimer::singleShot(0, m_copies, [copies = m_copies] { copies->selectAll(); });
}

void TfValasztNyomtat::MaskEdit1Exit()
{
    if (m_copies->text().toInt() <= 0)
        m_copies->setText(QStringLiteral("1"));
}

PrintChoice TfValasztNyomtat::choice() const
{
    PrintChoice c;
    if (m_radio2->isChecked())
        c.target = PrintChoice::Target::Kijelolt;
    else if (m_radio3->isChecked())
        c.target = PrintChoice::Target::Erdeklodok;
    c.sheet.megbizoAdataival = m_megbizo->isChecked();
    c.sheet.reszletesAdatokkal = m_reszletes->isChecked();
    c.archivalas = m_archivalas->isChecked();
    c.cimlista = m_cimlista->isChecked();
    c.apro = m_apro->isChecked();
    c.copies = std::max(m_copies->text().toInt(), 1);
    return c;
}

void TfValasztNyomtat::runSelection(Destination destination)
{
    MaskEdit1Exit();
    PrintRun run(m_reports, this);
    guarded([&] { run.execute(choice(), destination); });
    FormActivate();
}

void openPrintDialog(PrintReports &reports, QWidget *parent)
{
    if (reports.cursors.tEgyszeru.isEmpty()) {
        showMessage(QStringLiteral("Nincs kiválaszott ingatlan, amit nyomtatni lehetne!"));
        return;
    }
    TfValasztNyomtat dialog(reports, parent);
    fixAndCentre(&dialog);
    dialog.exec();
}

void printBlankSheets(PrintReports &reports, QWidget *parent)
{
    const PrintOutput::Batch batch(reports.output);
    TfAdatlap1 fAdatlap1(reports.cursors.tDefaults);
    if (!reports.output.run(
            Destination::Printer, [&](PrintCanvas &canvas) { fAdatlap1.paint(canvas); }, 1, parent))
        return;
    TfAdatlap2 fAdatlap2(reports.cursors.tDefaults);
    reports.output.run(
        Destination::Printer, [&](PrintCanvas &canvas) { fAdatlap2.paint(canvas); }, 1, parent);
}
