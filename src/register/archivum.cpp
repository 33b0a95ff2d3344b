#include "archivum.h"

#include "archiving.h"
#include "cursor.h"
#include "cursorgrid.h"
#include "dialogframe.h"
#include "errorboundary.h"
#include "maincursors.h"
#include "messages.h"
#include "textformat.h"

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

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

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

TfArchivum::TfArchivum(MainCursors &cursors, QWidget *parent)
    : QDialog(parent)
    , m_c(cursors)
    , m_grid(nullptr)
    , m_pages(new QTabWidget(this))
{
    setObjectName(s("fArchivum"));
    setWindowTitle(s("Pelmora - Törölt ingatlanok archívuma"));
    m_c.tArchiv.open();
    m_c.tArchiv.setFiltered(false);
    m_c.tArchiv.first();
    m_c.tArchivTulaj.open();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(s("Törölt ingatlanok archívuma...")));
    layout->addWidget(new QLabel(s("Ingatlan:")));
    m_grid = new CursorGrid(&m_c.tArchiv,
                            {{s("Azonosito"), s("Azonosító")},
                             {s("CimTeljes"), s("Cím")},
                             {s("Stop"), s("Törlés")},
                             {s("Ok"), s("Törlés oka")}},
                            this);
    m_grid->setObjectName(s("DBGrid1"));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->setColumnWidth(1, 280);
    m_grid->setColumnWidth(2, 150);
    m_grid->setMinimumHeight(160);
    layout->addWidget(m_grid, 1);

    m_pages->setObjectName(s("PageControl1"));
    m_pages->addTab(simplePage(), s("Egyszerű adatok"));
    m_pages->addTab(internalPage(), s("Belső adatok"));
    m_pages->setCurrentIndex(1);
    layout->addWidget(m_pages, 2);

    auto *close = new QPushButton(s("Bezár"), this);
    close->setObjectName(s("BitBtn1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *remove = new QPushButton(s("Végleg töröl"), this);
    remove->setObjectName(s("BitBtn2"));
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &TfArchivum::BitBtn2Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
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
    type->addRow(s("Típus:"), shown(s("TipusText")));
    type->addRow(s("Helyrajzi szám:"), shown(s("Hrsz")));
    grid->addLayout(type, 0, 0);

    auto *years = new QGroupBox;
    auto *yearsForm = new QFormLayout(years);
    yearsForm->addRow(s("Építés éve:"), shown(s("EpitesEve")));
    yearsForm->addRow(s("Felújítás éve:"), shown(s("FelujitasEve")));
    grid->addWidget(years, 1, 0);

    auto *areas = new QGroupBox;
    auto *areasForm = new QFormLayout(areas);
    areasForm->addRow(s("Épület területe:"), withUnit(shown(s("EpuletTerulet")), s("m²")));
    auto *plot = new QHBoxLayout;
    plot->addWidget(shown(s("TelekTerulet")));
    plot->addWidget(shown(s("TelekTeruletMertek")));
    areasForm->addRow(s("Telek területe:"), plot);
    grid->addWidget(areas, 2, 0);

    auto *prices = new QGroupBox;
    auto *pricesForm = new QFormLayout(prices);
    pricesForm->addRow(s("Minimum ár:"), withUnit(shown(s("MinimumAr")), s("Ft")));
    pricesForm->addRow(s("Ár:"), withUnit(shown(s("Ar")), s("Ft")));
    grid->addWidget(prices, 3, 0);

    auto *rooms = new QFormLayout;
    rooms->addRow(s("Összes helység:"), withUnit(shown(s("OsszesHelyseg")), s("darab")));
    rooms->addRow(s("Szoba:"), withUnit(shown(s("Szoba")), s("darab")));
    rooms->addRow(s("Garázs:"), withUnit(shown(s("Garazs")), s("darab")));
    grid->addLayout(rooms, 4, 0);

    auto *address = new QGroupBox(s("Cím"));
    auto *addressForm = new QFormLayout(address);
    addressForm->addRow(s("Irányítószám:"), shown(s("CimIrsz")));
    addressForm->addRow(s("Város:"), shown(s("CimVaros")));
    addressForm->addRow(s("Megye:"), shown(s("CimMegye")));
    addressForm->addRow(s("Utca:"), shown(s("CimUtca")));
    addressForm->addRow(s("Házszám:"), shown(s("CimHazszam")));
    addressForm->addRow(s("Emelet:"), shown(s("CimEmelet")));
    addressForm->addRow(s("Ajtó:"), shown(s("CimAjto")));
    grid->addWidget(address, 0, 1, 5, 1);

    auto *descriptions = new QTabWidget;
    descriptions->setObjectName(s("PageControl2"));
    descriptions->addTab(shownMemo(s("LeirasMagyar")), s("Magyar leírás"));
    descriptions->addTab(shownMemo(s("LeirasAngol")), s("Angol leírás"));
    descriptions->addTab(shownMemo(s("LeirasNemet")), s("Német leírás"));
    descriptions->addTab(shownMemo(s("LeirasApro")), s("Apróhírdetés szövege"));
    grid->addWidget(descriptions, 5, 0, 1, 2);
    return page;
}

QWidget *TfArchivum::internalPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(s("Tulajdonos:")), 0, 0, 1, 2);
    m_owners = new CursorGrid(&m_c.tArchivTulaj,
                              {{s("Nev"), s("Név")},
                               {s("Cim"), s("Cím")},
                               {s("Hanyad"), s("Tulajdoni hányad")},
                               {s("Anyja"), s("Anyja neve")},
                               {s("Szigsz"), s("Személyigazolvány szám")}},
                              page);
    m_owners->setObjectName(s("DBGrid3"));
    m_owners->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_owners->setColumnWidth(0, 180);
    m_owners->setColumnWidth(2, 130);
    m_owners->setColumnWidth(3, 160);
    grid->addWidget(m_owners, 1, 0, 1, 2);

    auto *principal = new QGroupBox(s("Megbízó"));
    auto *form = new QFormLayout(principal);
    form->addRow(s("Neve:"), shown(s("MegbizoNev")));
    form->addRow(s("Irányítószám:"), shown(s("MegbizoIrsz")));
    form->addRow(s("Város:"), shown(s("MegbizoVaros")));
    form->addRow(s("Utca, házszám:"), shown(s("MegbizoUtca")));
    form->addRow(s("Telefon:"), shown(s("MegbizoTelefon")));
    form->addRow(s("Személyigazolvány száma:"), shown(s("MegbizoSzigsz")));
    form->addRow(s("Anyja neve:"), shown(s("MegbizoAnyja")));
    grid->addWidget(principal, 2, 0);

    auto *right = new QVBoxLayout;
    auto *price = new QFormLayout;
    price->addRow(s("Minimum ár:"), withUnit(shown(s("MinimumAr")), s("Ft")));
    right->addLayout(price);
    right->addWidget(shownCheck(s("Az ingatlan felkerülhet az apróhirdetések közé"), s("Apro")));
    right->addWidget(shownCheck(s("Az ingatlan felkerülhet a webes adatbázisba"), s("Web")));
    right->addWidget(shownCheck(s("Megtekintésre a kulcs az irodában"), s("Kulcs")));
    right->addWidget(shownCheck(s("Az Interneten a település is megjelenhet"), s("Telepulestis")));
    right->addStretch();
    grid->addLayout(right, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void TfArchivum::DBGrid1Scroll()
{
    const Cursor &archive = m_c.tArchiv;
    static const QStringList money = {s("MinimumAr"), s("Ar")};
    static const QStringList whole = {s("EpuletTerulet"), s("TelekTerulet")};
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

    const int id = archive.isEmpty() ? -1 : archive.integer(s("Id"));
    guarded([this, id] {
        m_c.tArchivTulaj.setFilterText(QStringLiteral("EgyszeruId = %1").arg(id));
        m_c.tArchivTulaj.setFiltered(true);
        m_c.tArchivTulaj.first();
    });
}

void TfArchivum::BitBtn2Click()
{
    if (m_c.tArchiv.isEmpty())
        return;
    if (!askQuestion(s("Az adat véglegesen törlődik az adatbázisból! Biztosan folytatja?")))
        return;
    guarded([this] { deleteArchivedProperty(m_c); });
    DBGrid1Scroll();
}
