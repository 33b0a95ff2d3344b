#include "register/archivum.h"

#include "register/archiving.h"
#include "register/naplo.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "store/textformat.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Fields shown as money and as counts carry their unit beside them.
QWidget *withUnit(QWidget *edit, const QString &unit)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit);
    layout->addWidget(new QLabel(unit));
    return row;
}

} // namespace

TfArchivum::TfArchivum(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_c(cursors)
    , m_grid(nullptr)
    , m_pages(new QTabWidget(this))
{
    setObjectName(u"fArchivum"_s);
    setWindowTitle(u"Pelmora - Törölt ingatlanok archívuma"_s);
    m_c.tArchiv.open();
    m_c.tArchiv.setFiltered(false);
    m_c.tArchiv.first();
    m_c.tArchivTulaj.open();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(u"Törölt ingatlanok archívuma..."_s));
    layout->addWidget(new QLabel(u"Ingatlan:"_s));
    m_grid = new CursorGrid(&m_c.tArchiv,
                            {{u"Azonosito"_s, u"Azonosító"_s},
                             {u"CimTeljes"_s, u"Cím"_s},
                             {u"Stop"_s, u"Törlés"_s},
                             {u"Ok"_s, u"Törlés oka"_s}},
                            this);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->setColumnWidth(1, 280);
    m_grid->setColumnWidth(2, 150);
    m_grid->setMinimumHeight(160);
    layout->addWidget(m_grid, 1);

    m_pages->setObjectName(u"PageControl1"_s);
    m_pages->addTab(simplePage(), u"Egyszerű adatok"_s);
    m_pages->addTab(internalPage(), u"Belső adatok"_s);
    m_pages->setCurrentIndex(1);
    layout->addWidget(m_pages, 2);

    auto *close = new QPushButton(u"Bezár"_s, this);
    close->setObjectName(u"BitBtn1"_s);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *remove = new QPushButton(u"Végleg töröl"_s, this);
    remove->setObjectName(u"BitBtn2"_s);
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &TfArchivum::BitBtn2Click);
    m_naplo = new QPushButton(u"Napló"_s, this);
    m_naplo->setObjectName(u"bNaplo"_s);
    m_naplo->setAutoDefault(false);
    connect(m_naplo, &QPushButton::clicked, this, &TfArchivum::bNaploClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_naplo);
    buttons->addWidget(remove);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(&m_c.tArchiv, &Cursor::currentChanged, this, &TfArchivum::DBGrid1Scroll);
    connect(&m_c.tArchiv, &Cursor::viewChanged, this, &TfArchivum::DBGrid1Scroll);
    DBGrid1Scroll();
    m_pages->setMinimumWidth(900);
    fixAndCentre(this);
}

TfArchivum::~TfArchivum()
{
    disconnect(&m_c.tArchiv, nullptr, this, nullptr);
    m_c.tArchivTulaj.setFiltered(false);
    m_c.tArchivTulaj.close();
    m_c.tArchiv.close();
}

QLineEdit *TfArchivum::shown(const QString &field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(field);
    edit->setReadOnly(true);
    m_fields << edit;
    return edit;
}

void TfArchivum::addShownRows(QFormLayout *form, const QList<QPair<QString, QString>> &rows)
{
    for (const auto &[label, field] : rows)
        form->addRow(label, shown(field));
}

QCheckBox *TfArchivum::shownCheck(const QString &caption, const QString &field)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(field);
    // Shows the stored flag; a click must not change what the archive says.
    box->setEnabled(false);
    m_checks << box;
    return box;
}

QPlainTextEdit *TfArchivum::shownMemo(const QString &field)
{
    auto *memo = new QPlainTextEdit;
    memo->setObjectName(field);
    memo->setReadOnly(true);
    m_memos << memo;
    return memo;
}

QWidget *TfArchivum::simplePage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    auto *type = new QFormLayout;
    addShownRows(type, {{u"Típus:"_s, u"TipusText"_s}, {u"Helyrajzi szám:"_s, u"Hrsz"_s}});
    grid->addLayout(type, 0, 0);

    auto *years = new QGroupBox;
    auto *yearsForm = new QFormLayout(years);
    addShownRows(yearsForm,
                 {{u"Építés éve:"_s, u"EpitesEve"_s}, {u"Felújítás éve:"_s, u"FelujitasEve"_s}});
    grid->addWidget(years, 1, 0);

    auto *areas = new QGroupBox;
    auto *areasForm = new QFormLayout(areas);
    areasForm->addRow(u"Épület területe:"_s, withUnit(shown(u"EpuletTerulet"_s), u"m²"_s));
    auto *plot = new QHBoxLayout;
    plot->addWidget(shown(u"TelekTerulet"_s));
    plot->addWidget(shown(u"TelekTeruletMertek"_s));
    areasForm->addRow(u"Telek területe:"_s, plot);
    grid->addWidget(areas, 2, 0);

    auto *prices = new QGroupBox;
    auto *pricesForm = new QFormLayout(prices);
    pricesForm->addRow(u"Minimum ár:"_s, withUnit(shown(u"MinimumAr"_s), u"Ft"_s));
    pricesForm->addRow(u"Ár:"_s, withUnit(shown(u"Ar"_s), u"Ft"_s));
    grid->addWidget(prices, 3, 0);

    auto *rooms = new QFormLayout;
    rooms->addRow(u"Összes helység:"_s, withUnit(shown(u"OsszesHelyseg"_s), u"darab"_s));
    rooms->addRow(u"Szoba:"_s, withUnit(shown(u"Szoba"_s), u"darab"_s));
    rooms->addRow(u"Garázs:"_s, withUnit(shown(u"Garazs"_s), u"darab"_s));
    grid->addLayout(rooms, 4, 0);

    auto *address = new QGroupBox(u"Cím"_s);
    auto *addressForm = new QFormLayout(address);
    addShownRows(addressForm,
                 {{u"Irányítószám:"_s, u"CimIrsz"_s},
                  {u"Város:"_s, u"CimVaros"_s},
                  {u"Megye:"_s, u"CimMegye"_s},
                  {u"Utca:"_s, u"CimUtca"_s},
                  {u"Házszám:"_s, u"CimHazszam"_s},
                  {u"Emelet:"_s, u"CimEmelet"_s},
                  {u"Ajtó:"_s, u"CimAjto"_s}});
    grid->addWidget(address, 0, 1, 5, 1);

    auto *descriptions = new QTabWidget;
    descriptions->setObjectName(u"PageControl2"_s);
    descriptions->addTab(shownMemo(u"LeirasMagyar"_s), u"Magyar leírás"_s);
    descriptions->addTab(shownMemo(u"LeirasAngol"_s), u"Angol leírás"_s);
    descriptions->addTab(shownMemo(u"LeirasNemet"_s), u"Német leírás"_s);
    descriptions->addTab(shownMemo(u"LeirasApro"_s), u"Apróhírdetés szövege"_s);
    grid->addWidget(descriptions, 5, 0, 1, 2);
    return page;
}

QWidget *TfArchivum::internalPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(u"Tulajdonos:"_s), 0, 0, 1, 2);
    m_owners = new CursorGrid(&m_c.tArchivTulaj,
                              {{u"Nev"_s, u"Név"_s},
                               {u"Cim"_s, u"Cím"_s},
                               {u"Hanyad"_s, u"Tulajdoni hányad"_s},
                               {u"Anyja"_s, u"Anyja neve"_s},
                               {u"Szigsz"_s, u"Személyigazolvány szám"_s}},
                              page);
    m_owners->setObjectName(u"DBGrid3"_s);
    m_owners->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_owners->setColumnWidth(0, 180);
    m_owners->setColumnWidth(2, 130);
    m_owners->setColumnWidth(3, 160);
    grid->addWidget(m_owners, 1, 0, 1, 2);

    auto *principal = new QGroupBox(u"Megbízó"_s);
    auto *form = new QFormLayout(principal);
    addShownRows(form,
                 {{u"Neve:"_s, u"MegbizoNev"_s},
                  {u"Irányítószám:"_s, u"MegbizoIrsz"_s},
                  {u"Város:"_s, u"MegbizoVaros"_s},
                  {u"Utca, házszám:"_s, u"MegbizoUtca"_s},
                  {u"Telefon:"_s, u"MegbizoTelefon"_s},
                  {u"Személyigazolvány száma:"_s, u"MegbizoSzigsz"_s},
                  {u"Anyja neve:"_s, u"MegbizoAnyja"_s}});
    grid->addWidget(principal, 2, 0);

    auto *right = new QVBoxLayout;
    auto *price = new QFormLayout;
    price->addRow(u"Minimum ár:"_s, withUnit(shown(u"MinimumAr"_s), u"Ft"_s));
    right->addLayout(price);
    right->addWidget(shownCheck(u"Az ingatlan felkerülhet az apróhirdetések közé"_s, u"Apro"_s));
    right->addWidget(shownCheck(u"Az ingatlan felkerülhet a webes adatbázisba"_s, u"Web"_s));
    right->addWidget(shownCheck(u"Megtekintésre a kulcs az irodában"_s, u"Kulcs"_s));
    right->addWidget(shownCheck(u"Az Interneten a település is megjelenhet"_s, u"Telepulestis"_s));
    right->addStretch();
    grid->addLayout(right, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void TfArchivum::DBGrid1Scroll()
{
    const Cursor &archive = m_c.tArchiv;
    static const QStringList money = {u"MinimumAr"_s, u"Ar"_s};
    static const QStringList whole = {u"EpuletTerulet"_s, u"TelekTerulet"_s};
    for (QLineEdit *edit : std::as_const(m_fields)) {
        const QString field = edit->objectName();
        if (money.contains(field) || whole.contains(field))
            edit->setText(archive.isEmpty() ? QString()
                                            : QLocale().toString(archive.number(field), 'f', 0));
        else
            edit->setText(archive.text(field));
    }
    for (QCheckBox *box : std::as_const(m_checks))
        box->setChecked(archive.boolean(box->objectName()));
    for (QPlainTextEdit *memo : std::as_const(m_memos))
        memo->setPlainText(textformat::memoToEdit(archive.text(memo->objectName())));

    const int id = archive.isEmpty() ? -1 : archive.integer(u"Id"_s);
    m_naplo->setEnabled(!archive.isEmpty());
    guarded([this, id] {
        m_c.tArchivTulaj.setFilterText(filters::ofProperty(id));
        m_c.tArchivTulaj.setFiltered(true);
        m_c.tArchivTulaj.first();
    });
}

void TfArchivum::bNaploClick()
{
    if (m_c.tArchiv.isEmpty())
        return;
    TfNaplo::showOfArchived(m_c.db, m_c.tArchiv.integer(u"Id"_s), m_c.tArchiv.text(u"Azonosito"_s),
                            this);
}

void TfArchivum::BitBtn2Click()
{
    if (m_c.tArchiv.isEmpty())
        return;
    if (!askQuestion(u"Az adat véglegesen törlődik az adatbázisból! Biztosan folytatja?"_s))
        return;
    guarded([this] { deleteArchivedProperty(m_c); });
    DBGrid1Scroll();
}
