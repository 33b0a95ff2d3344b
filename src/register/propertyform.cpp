#include "register/propertyform.h"

#include "store/cursor.h"
#include "store/tables.h"
#include "widgets/counties.h"
#include "widgets/messages.h"
#include "widgets/numberedit.h"
#include "widgets/wheelguard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Prices are floats in the table; the bound only keeps the edit's text sensible.
constexpr double priceLimit = 999999999999.0;
// "At most 4 characters" for a year and 8 for an area. No price, year, area or count is below
// zero: a negative one is a slip of the keyboard or the wheel, never a property's data.
constexpr double yearLimit = 9999;
constexpr double areaLimit = 99999999;

const QString plotUnitDefault = QStringLiteral("négyzetméter");

enum Section { Data, Address, Principal, Switches, Descriptions, Locality };

enum class Kind {
    Text, // a one-line text edit
    Postcode, // up to four digits; a click selects it whole
    Price, // ",0 Ft"
    Year, // ",0", at most 4 digits, stored whole
    Area, // ",0", at most 8 digits, stored whole
    Count, // ",0 darab", stored whole
    PlotUnit, // editable list of units, beside the plot area
    Types, // the type list, kept by position
    Settlements, // editable list of the settlements
    Counties, // editable list of the counties
    Check,
    Memo, // a description page
};

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Rows of "label: control" in a two-column grid, in the order they are added.
class FormGrid
{
public:
    explicit FormGrid(QWidget *owner)
        : m_grid(new QGridLayout(owner))
    { }
    void add(const QString &label, QWidget *control, QWidget *after = nullptr)
    {
        m_grid->addWidget(new QLabel(label), m_row, 0);
        if (after) {
            auto *pair = new QHBoxLayout;
            pair->addWidget(control, 1);
            pair->addWidget(after);
            m_grid->addLayout(pair, m_row, 1);
        } else {
            m_grid->addWidget(control, m_row, 1);
        }
        ++m_row;
    }
    QGridLayout *grid() const { return m_grid; }

private:
    QGridLayout *m_grid;
    int m_row = 0;
};

QComboBox *listBox(bool editable)
{
    auto *combo = new QComboBox;
    takeWheelOnlyWithFocus(combo);
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void emptyCombo(QComboBox *combo)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

} // namespace

struct PropertyForm::Row
{
    const char *objectName;
    const char *label;
    const char *field;
    Kind kind;
    Section section;
};

// The simple data in the order the Tab key visits them on the entry panel.
const QList<PropertyForm::Row> &PropertyForm::rows()
{
    static const QList<Row> table {
        {"nAzonosito", "Azonosító:", "Azonosito", Kind::Text, Data},
        {"nTipus", "Ingatlan típusa:", "TipusId", Kind::Types, Data},
        {"nMinimumAr", "Minimum ár:", "MinimumAr", Kind::Price, Data},
        {"nAr", "Ár:", "Ar", Kind::Price, Data},
        {"nEpitesEve", "Építés éve:", "EpitesEve", Kind::Year, Data},
        {"nFelujitasEve", "Felújítás éve:", "FelujitasEve", Kind::Year, Data},
        {"nEpuletTerulet", "Épület terület:", "EpuletTerulet", Kind::Area, Data},
        {"nTelekTerulet", "Telek terület:", "TelekTerulet", Kind::Area, Data},
        {"nTelekTeruletMertek", "", "TelekTeruletMertek", Kind::PlotUnit, Data},
        {"nOsszHelyseg", "Összes helyiség:", "OsszesHelyseg", Kind::Count, Data},
        {"nSzoba", "Ebből szoba:", "Szoba", Kind::Count, Data},
        {"nGarazs", "Garázs:", "Garazs", Kind::Count, Data},
        {"nCimIrsz", "Irányítószám:", "CimIrsz", Kind::Postcode, Address},
        {"nCimVaros", "Város:", "CimVaros", Kind::Settlements, Address},
        {"nCimMegye", "Megye:", "CimMegye", Kind::Counties, Address},
        {"nCimUtca", "Utca:", "CimUtca", Kind::Text, Address},
        {"nCimHazszam", "Házszám:", "CimHazszam", Kind::Text, Address},
        {"nCimEmelet", "Emelet:", "CimEmelet", Kind::Text, Address},
        {"nCimAjto", "Ajtó:", "CimAjto", Kind::Text, Address},
        {"nHrsz", "Helyrajzi szám:", "Hrsz", Kind::Text, Address},
        {"nCimRegio", "Régió:", "CimRegio", Kind::Text, Address},
        {"nMegbizoNev", "Neve:", "MegbizoNev", Kind::Text, Principal},
        {"nMegbizoAnyja", "Anyja neve:", "MegbizoAnyja", Kind::Text, Principal},
        {"nMegbizoIrsz", "Irányítószám:", "MegbizoIrsz", Kind::Postcode, Principal},
        {"nMegbizoVaros", "Város:", "MegbizoVaros", Kind::Text, Principal},
        {"nMegbizoUtca", "Utca, házszám:", "MegbizoUtca", Kind::Text, Principal},
        {"nMegbizoTelefon", "Telefon:", "MegbizoTelefon", Kind::Text, Principal},
        {"nMegbizoSzigsz", "Személyigazolvány száma:", "MegbizoSzigsz", Kind::Text, Principal},
        {"nAproCheck", "Az ingatlan felkerülhet az apróhirdetések közé", "Apro", Kind::Check,
         Switches},
        {"nWebCheck", "Az ingatlan felkerülhet a webes adatbázisba", "Web", Kind::Check, Switches},
        {"nKulcsCheck", "Megtekintésre a kulcs az irodában", "Kulcs", Kind::Check, Switches},
        {"nLeirasMagyar", "Magyar leírás", "LeirasMagyar", Kind::Memo, Descriptions},
        {"nLeirasAngol", "Angol leírás", "LeirasAngol", Kind::Memo, Descriptions},
        {"nLeirasNemet", "Német leírás", "LeirasNemet", Kind::Memo, Descriptions},
        {"nLeirasApro", "Apróhírdetés szövege", "LeirasApro", Kind::Memo, Descriptions},
        {"nTelepulestis", "Az Interneten a település is megjelenhet", "Telepulestis", Kind::Check,
         Locality},
    };
    return table;
}

PropertyForm::PropertyForm(Arrangement arrangement, const Part &owners, const Part &photos,
                           const QString &descriptionPagesName, QWidget *parent)
    : QWidget(parent)
    , m_binder(tables::egyszeru)
    , m_sameAsOwner(new QPushButton(QStringLiteral("U.a. mint a tulajdonos")))
    , m_pages(new QTabWidget)
{
    for (const Row &row : rows())
        m_controls.insert(utf8(row.objectName), makeControl(row));
    m_sameAsOwner->setObjectName(QStringLiteral("Button1"));
    m_sameAsOwner->setAutoDefault(false);
    connect(m_sameAsOwner, &QPushButton::clicked, this, &PropertyForm::sameAsOwnerClicked);
    m_pages->setObjectName(descriptionPagesName);
    emptyCombo(settlement());
    emptyCombo(county());
    if (arrangement == Arrangement::Column)
        arrangeInColumn(owners, photos);
    else
        arrangeInGrid(owners, photos);
}

QWidget *PropertyForm::makeControl(const Row &row)
{
    QWidget *control = nullptr;
    switch (row.kind) {
    case Kind::Text:
    case Kind::Postcode:
    case Kind::Memo:
    case Kind::Check:
        control = makeLineControl(row);
        break;
    case Kind::Price:
    case Kind::Year:
    case Kind::Area:
    case Kind::Count:
        control = makeNumberControl(row);
        break;
    case Kind::PlotUnit:
    case Kind::Types:
    case Kind::Settlements:
    case Kind::Counties:
        control = makeListControl(row);
        break;
    }
    control->setObjectName(utf8(row.objectName));
    return control;
}

QWidget *PropertyForm::makeLineControl(const Row &row)
{
    const QString field = utf8(row.field);
    if (row.kind == Kind::Check)
        return m_binder.bind(new QCheckBox(utf8(row.label)), field);
    if (row.kind == Kind::Memo) {
        auto *memo = new QPlainTextEdit;
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Tab moves on, as everywhere else on the form; Enter stays a new line.
        memo->setTabChangesFocus(true);
        memo->setMinimumHeight(120);
        return m_binder.bind(memo, field);
    }
    auto *edit = m_binder.bind(new QLineEdit, field);
    if (row.kind == Kind::Postcode) {
        // Up to four digits and nothing else; the blanks after them are not part of the text.
        edit->setInputMask(QStringLiteral("0000; "));
        edit->installEventFilter(this);
        m_postcodes << edit;
    }
    return edit;
}

QWidget *PropertyForm::makeNumberControl(const Row &row)
{
    const QString name = utf8(row.objectName);
    const QString field = utf8(row.field);
    switch (row.kind) {
    case Kind::Price:
        return m_binder.bind(new NumberEdit(name, QStringLiteral(" Ft"), 0, priceLimit), field,
                             false);
    case Kind::Year:
        return m_binder.bind(new NumberEdit(name, QString(), 0, yearLimit), field, true);
    case Kind::Area:
        return m_binder.bind(new NumberEdit(name, QString(), 0, areaLimit), field, true);
    default:
        return m_binder.bind(makeCounter(name), field, true);
    }
}

QWidget *PropertyForm::makeListControl(const Row &row)
{
    const QString field = utf8(row.field);
    if (row.kind == Kind::Types)
        return m_binder.bindIndex(listBox(false), field, QStringLiteral("TipusText"));
    QComboBox *combo = listBox(true);
    if (row.kind == Kind::PlotUnit)
        combo->addItems({plotUnitDefault, QStringLiteral("hektár"), QStringLiteral("négyszögöl")});
    else if (row.kind == Kind::Counties)
        combo->addItems(hungarianCounties());
    return m_binder.bind(combo, field);
}

QWidget *PropertyForm::buildData(QWidget *box) const
{
    FormGrid form(box);
    const QList<Row> &table = rows();
    for (int i = 0; i < table.size(); ++i) {
        const Row &row = table[i];
        if (row.section != Data || row.kind == Kind::PlotUnit)
            continue;
        QWidget *after = nullptr;
        if (i + 1 < table.size() && table[i + 1].kind == Kind::PlotUnit) {
            after = control(utf8(table[i + 1].objectName));
        } else if (row.kind == Kind::Area) {
            auto *squareMetres = new QLabel(QStringLiteral("m<sup>2</sup>"));
            squareMetres->setTextFormat(Qt::RichText);
            after = squareMetres;
        }
        form.add(utf8(row.label), control(utf8(row.objectName)), after);
    }
    return box;
}

QWidget *PropertyForm::buildGroup(QWidget *box, int section) const
{
    FormGrid form(box);
    for (const Row &row : rows()) {
        if (row.section == section)
            form.add(utf8(row.label), control(utf8(row.objectName)));
    }
    if (section == Principal)
        form.grid()->addWidget(m_sameAsOwner, form.grid()->rowCount(), 1, Qt::AlignRight);
    return box;
}

void PropertyForm::fillPages()
{
    // The pages' memos follow the tab bar in the tab widget's own order.
    for (const Row &row : rows()) {
        if (row.section == Descriptions)
            m_pages->addTab(control(utf8(row.objectName)), utf8(row.label));
    }
}

QWidget *PropertyForm::buildDescriptions()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const Row &row : rows()) {
        if (row.section == Switches)
            layout->addWidget(control(utf8(row.objectName)));
    }
    fillPages();
    layout->addWidget(m_pages);
    layout->addWidget(control(QStringLiteral("nTelepulestis")));
    return box;
}

void PropertyForm::arrangeInColumn(const Part &owners, const Part &photos)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildData(new QWidget));
    layout->addWidget(buildGroup(new QGroupBox(QStringLiteral("Cím")), Address));
    layout->addWidget(owners.widget);
    layout->addWidget(buildGroup(new QGroupBox(QStringLiteral("Megbízó")), Principal));
    layout->addWidget(buildDescriptions());
    layout->addWidget(photos.widget);

    chainSections({Data, Address});
    m_tabChain << owners.tabChain;
    chainSections({Principal});
    m_tabChain << m_sameAsOwner;
    chainSections({Switches});
    m_tabChain << m_pages;
    chainSections({Locality});
    m_tabChain << photos.tabChain;
}

void PropertyForm::arrangeInGrid(const Part &owners, const Part &photos)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(buildData(new QGroupBox), 0, 0);
    grid->addWidget(buildGroup(new QGroupBox(QStringLiteral("Cím")), Address), 0, 1);
    grid->addWidget(owners.widget, 1, 0, 1, 2);
    grid->addWidget(buildGroup(new QGroupBox(QStringLiteral("Megbízó")), Principal), 2, 0);
    auto *right = new QVBoxLayout;
    // The switches stand beside the principal, the locality one with them; the pages span both.
    for (const Row &row : rows()) {
        if (row.section == Switches || row.section == Locality)
            right->addWidget(control(utf8(row.objectName)));
    }
    right->addWidget(photos.widget);
    right->addStretch();
    grid->addLayout(right, 2, 1);
    fillPages();
    m_pages->setMinimumHeight(150);
    grid->addWidget(m_pages, 3, 0, 1, 2);

    chainSections({Data, Address});
    m_tabChain << owners.tabChain;
    chainSections({Principal});
    m_tabChain << m_sameAsOwner;
    chainSections({Switches, Locality});
    m_tabChain << photos.tabChain << m_pages;
}

void PropertyForm::chainSections(const QList<int> &sections)
{
    for (const Row &row : rows()) {
        if (sections.contains(row.section))
            m_tabChain << control(utf8(row.objectName));
    }
}

void PropertyForm::setLists(const QStringList &typeNames, const QStringList &settlementNames)
{
    QComboBox *typeList = types();
    typeList->clear();
    typeList->addItems(typeNames);
    typeList->setCurrentIndex(typeList->count() > 0 ? 0 : -1);
    QComboBox *settlementList = settlement();
    settlementList->clear();
    settlementList->addItems(settlementNames);
    emptyCombo(settlementList);
}

void PropertyForm::clear()
{
    m_binder.clear();
    m_pages->setCurrentIndex(0);
    types()->setCurrentIndex(types()->count() > 0 ? 0 : -1);
    static_cast<QComboBox *>(control(QStringLiteral("nTelekTeruletMertek")))
        ->setEditText(plotUnitDefault);
    // A new property may go into the small ads and onto the web, its settlement shown; the key
    // is in the office only when someone says so.
    for (const char *ticked : {"nAproCheck", "nWebCheck", "nTelepulestis"})
        static_cast<QCheckBox *>(control(utf8(ticked)))->setChecked(true);
}

void PropertyForm::load(const Cursor &property)
{
    m_pages->setCurrentIndex(0);
    m_binder.load(property);
}

void PropertyForm::copyPrincipalFrom(const Cursor &owner)
{
    const std::pair<const char *, const char *> copies[] = {
        {"nMegbizoNev", "Nev"},        {"nMegbizoIrsz", "Irsz"},     {"nMegbizoVaros", "Varos"},
        {"nMegbizoUtca", "Utca"},      {"nMegbizoSzigsz", "Szigsz"}, {"nMegbizoAnyja", "Anyja"},
        {"nMegbizoTelefon", "Telefon"}};
    for (const auto &[name, field] : copies)
        static_cast<QLineEdit *>(control(utf8(name)))->setText(owner.text(utf8(field)));
}

QLineEdit *PropertyForm::identifier() const
{
    return static_cast<QLineEdit *>(control(QStringLiteral("nAzonosito")));
}

QLineEdit *PropertyForm::sitePostcode() const
{
    return static_cast<QLineEdit *>(control(QStringLiteral("nCimIrsz")));
}

QComboBox *PropertyForm::types() const
{
    return static_cast<QComboBox *>(control(QStringLiteral("nTipus")));
}

QComboBox *PropertyForm::settlement() const
{
    return static_cast<QComboBox *>(control(QStringLiteral("nCimVaros")));
}

QComboBox *PropertyForm::county() const
{
    return static_cast<QComboBox *>(control(QStringLiteral("nCimMegye")));
}

bool PropertyForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        m_postcodes.contains(qobject_cast<QWidget *>(watched)))
        QTimer::singleShot(0, static_cast<QLineEdit *>(watched), &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

bool confirmDiscardingInput()
{
    return askQuestion(QStringLiteral("A beírt, még nem rögzített adatok elvesznek. Folytatja?"));
}
