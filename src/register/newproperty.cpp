#include "newproperty.h"

#include "counties.h"
#include "cursorgrid.h"
#include "dialogframe.h"
#include "errorboundary.h"
#include "maincursors.h"
#include "messages.h"
#include "numberedit.h"
#include "ownergroup.h"
#include "photogroup.h"
#include "postcodelookup.h"
#include "registerwindows.h"
#include "reszletes.h"
#include "reszletespanel.h"
#include "textformat.h"
#include "ujkep.h"
#include "wheelguard.h"
#include "workingowners.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Prices are floats in the table; the bound only keeps the edit's text sensible.
constexpr double priceLimit = 999999999999.0;
// "At most 4 characters" for a year and 8 for an area. No price, year, area or count is below
// zero: a negative one is a slip of the keyboard or the wheel, never a property's data.
constexpr double yearMaximum = 9999;
constexpr double areaMaximum = 99999999;
// The identifier field's width: a longer identifier would be stored cut and could then clash
// with another that the duplicate check let through.
constexpr int identifierLength = 20;

const QString plotUnitDefault = QStringLiteral("négyzetméter");

QString name(const char *text)
{
    return QString::fromLatin1(text);
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

void emptyCombo(QComboBox *combo)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

} // namespace

NewPropertyPanel::NewPropertyPanel(MainCursors &cursors, RegisterWindows &windows, QWidget *parent)
    : QWidget(parent)
    , m_cursors(cursors)
    , m_windows(windows)
    , m_owners(new OwnerGroup(cursors.tdTulaj, windows))
    , m_photos(new PhotoGroup(windows))
    , m_reszletes(new QCheckBox(QStringLiteral("Van részletes leírás")))
    , m_reszletesGomb(new QPushButton(QStringLiteral("Részletes leírás >>")))
    , m_rogzit(new QPushButton(QStringLiteral("Rögzít")))
{
    setObjectName(QStringLiteral("pNew"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Új ingatlan felvitele - egyszerű leírás")));

    auto *content = new QWidget;
    m_form = new QVBoxLayout(content);
    m_form->addWidget(buildSimpleData());
    m_form->addWidget(buildAddress());
    m_tabOrder << m_owners->grid() << m_owners->findChild<QWidget *>(name("Button9"))
               << m_owners->findChild<QWidget *>(name("Button11"))
               << m_owners->findChild<QWidget *>(name("Button12"));
    m_form->addWidget(m_owners);
    m_form->addWidget(buildPrincipal());
    m_form->addWidget(buildDescriptions());
    m_tabOrder << m_photos->findChild<QWidget *>(name("nKepValtoztat"));
    m_form->addWidget(m_photos);
    m_form->addStretch();
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_scroll, 1);

    m_reszletesGomb->setObjectName(QStringLiteral("nReszletesGomb"));
    m_reszletesGomb->setEnabled(false);
    m_reszletesGomb->setAutoDefault(false);
    m_reszletes->setObjectName(QStringLiteral("nReszletes"));
    connect(m_reszletes, &QCheckBox::toggled, m_reszletesGomb, &QPushButton::setEnabled);
    connect(m_reszletesGomb, &QPushButton::clicked, this, &NewPropertyPanel::detailedRequested);
    m_rogzit->setObjectName(QStringLiteral("nRogzit"));
    m_rogzit->setDefault(true);
    connect(m_rogzit, &QPushButton::clicked, this, &NewPropertyPanel::store);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_reszletesGomb);
    bottom->addWidget(m_reszletes);
    bottom->addStretch();
    m_buttons = new QVBoxLayout;
    bottom->addLayout(m_buttons);
    bottom->addWidget(m_rogzit);
    layout->addLayout(bottom);
    m_tabOrder << m_reszletesGomb << m_reszletes << m_rogzit;
    chainTabOrder();
}

QLineEdit *NewPropertyPanel::addText(const char *objectName, const char *field, int maxLength)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name(objectName));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    m_texts.append({edit, name(field)});
    m_tabOrder << edit;
    return edit;
}

QLineEdit *NewPropertyPanel::addPostcode(const char *objectName, const char *field)
{
    QLineEdit *edit = addText(objectName, field);
    edit->setInputMask(QStringLiteral("0000; "));
    edit->installEventFilter(this);
    m_postcodes << edit;
    return edit;
}

NumberEdit *NewPropertyPanel::addWhole(NumberEdit *edit, const char *field)
{
    m_wholeNumbers.append({edit, name(field)});
    m_tabOrder << edit;
    return edit;
}

QCheckBox *NewPropertyPanel::addCheck(const char *objectName, const QString &caption,
                                      const char *field)
{
    auto *check = new QCheckBox(caption);
    check->setObjectName(name(objectName));
    m_checks.append({check, name(field)});
    m_tabOrder << check;
    return check;
}

QWidget *NewPropertyPanel::buildSimpleData()
{
    auto *box = new QWidget;
    FormGrid form(box);
    m_azonosito = addText("nAzonosito", "Azonosito", identifierLength);
    form.add(QStringLiteral("Azonosító:"), m_azonosito);
    m_tipus = new QComboBox;
    m_tipus->setObjectName(QStringLiteral("nTipus"));
    takeWheelOnlyWithFocus(m_tipus);
    m_tabOrder << m_tipus;
    form.add(QStringLiteral("Ingatlan típusa:"), m_tipus);
    m_minimumAr =
        new NumberEdit(QStringLiteral("nMinimumAr"), QStringLiteral(" Ft"), 0, priceLimit);
    m_ar = new NumberEdit(QStringLiteral("nAr"), QStringLiteral(" Ft"), 0, priceLimit);
    m_tabOrder << m_minimumAr << m_ar;
    form.add(QStringLiteral("Minimum ár:"), m_minimumAr);
    form.add(QStringLiteral("Ár:"), m_ar);
    form.add(QStringLiteral("Építés éve:"),
             addWhole(new NumberEdit(name("nEpitesEve"), QString(), 0, yearMaximum), "EpitesEve"));
    form.add(
        QStringLiteral("Felújítás éve:"),
        addWhole(new NumberEdit(name("nFelujitasEve"), QString(), 0, yearMaximum), "FelujitasEve"));
    auto *squareMetres = new QLabel(QStringLiteral("m<sup>2</sup>"));
    squareMetres->setTextFormat(Qt::RichText);
    form.add(QStringLiteral("Épület terület:"),
             addWhole(new NumberEdit(name("nEpuletTerulet"), QString(), 0, areaMaximum),
                      "EpuletTerulet"),
             squareMetres);
    auto *plotArea =
        addWhole(new NumberEdit(name("nTelekTerulet"), QString(), 0, areaMaximum), "TelekTerulet");
    m_telekTeruletMertek = new QComboBox;
    takeWheelOnlyWithFocus(m_telekTeruletMertek);
    m_telekTeruletMertek->setObjectName(QStringLiteral("nTelekTeruletMertek"));
    m_telekTeruletMertek->setEditable(true);
    m_telekTeruletMertek->setInsertPolicy(QComboBox::NoInsert);
    m_telekTeruletMertek->addItems(
        {plotUnitDefault, QStringLiteral("hektár"), QStringLiteral("négyszögöl")});
    m_tabOrder << m_telekTeruletMertek;
    form.add(QStringLiteral("Telek terület:"), plotArea, m_telekTeruletMertek);
    form.add(QStringLiteral("Összes helyiség:"),
             addWhole(makeCounter(name("nOsszHelyseg")), "OsszesHelyseg"));
    form.add(QStringLiteral("Ebből szoba:"), addWhole(makeCounter(name("nSzoba")), "Szoba"));
    form.add(QStringLiteral("Garázs:"), addWhole(makeCounter(name("nGarazs")), "Garazs"));
    return box;
}

QWidget *NewPropertyPanel::buildAddress()
{
    auto *box = new QGroupBox(QStringLiteral("Cím"));
    FormGrid form(box);
    m_cimIrsz = addPostcode("nCimIrsz", "CimIrsz");
    form.add(QStringLiteral("Irányítószám:"), m_cimIrsz);
    m_cimVaros = new QComboBox;
    m_cimVaros->setObjectName(QStringLiteral("nCimVaros"));
    m_cimMegye = new QComboBox;
    m_cimMegye->setObjectName(QStringLiteral("nCimMegye"));
    m_cimMegye->addItems(hungarianCounties());
    for (QComboBox *combo : {m_cimVaros, m_cimMegye}) {
        takeWheelOnlyWithFocus(combo);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        m_tabOrder << combo;
    }
    emptyCombo(m_cimMegye);
    form.add(QStringLiteral("Város:"), m_cimVaros);
    form.add(QStringLiteral("Megye:"), m_cimMegye);
    form.add(QStringLiteral("Utca:"), addText("nCimUtca", "CimUtca"));
    form.add(QStringLiteral("Házszám:"), addText("nCimHazszam", "CimHazszam"));
    form.add(QStringLiteral("Emelet:"), addText("nCimEmelet", "CimEmelet"));
    form.add(QStringLiteral("Ajtó:"), addText("nCimAjto", "CimAjto"));
    form.add(QStringLiteral("Helyrajzi szám:"), addText("nHrsz", "Hrsz"));
    form.add(QStringLiteral("Régió:"), addText("nCimRegio", "CimRegio"));
    return box;
}

QWidget *NewPropertyPanel::buildPrincipal()
{
    auto *box = new QGroupBox(QStringLiteral("Megbízó"));
    FormGrid form(box);
    form.add(QStringLiteral("Neve:"), addText("nMegbizoNev", "MegbizoNev"));
    form.add(QStringLiteral("Anyja neve:"), addText("nMegbizoAnyja", "MegbizoAnyja"));
    form.add(QStringLiteral("Irányítószám:"), addPostcode("nMegbizoIrsz", "MegbizoIrsz"));
    form.add(QStringLiteral("Város:"), addText("nMegbizoVaros", "MegbizoVaros"));
    form.add(QStringLiteral("Utca, házszám:"), addText("nMegbizoUtca", "MegbizoUtca"));
    form.add(QStringLiteral("Telefon:"), addText("nMegbizoTelefon", "MegbizoTelefon"));
    form.add(QStringLiteral("Személyigazolvány száma:"),
             addText("nMegbizoSzigsz", "MegbizoSzigsz"));
    auto *sameAsOwner = new QPushButton(QStringLiteral("U.a. mint a tulajdonos"));
    sameAsOwner->setObjectName(QStringLiteral("Button1"));
    sameAsOwner->setAutoDefault(false);
    connect(sameAsOwner, &QPushButton::clicked, this, &NewPropertyPanel::copyFirstOwner);
    m_tabOrder << sameAsOwner;
    form.grid()->addWidget(sameAsOwner, form.grid()->rowCount(), 1, Qt::AlignRight);
    return box;
}

QWidget *NewPropertyPanel::buildDescriptions()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(addCheck(
        "nAproCheck", QStringLiteral("Az ingatlan felkerülhet az apróhirdetések közé"), "Apro"));
    layout->addWidget(addCheck(
        "nWebCheck", QStringLiteral("Az ingatlan felkerülhet a webes adatbázisba"), "Web"));
    layout->addWidget(
        addCheck("nKulcsCheck", QStringLiteral("Megtekintésre a kulcs az irodában"), "Kulcs"));
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_tabOrder << m_pages;
    const struct
    {
        const char *objectName;
        const char *field;
        QString caption;
    } pages[] = {
        {"nLeirasMagyar", "LeirasMagyar", QStringLiteral("Magyar leírás")},
        {"nLeirasAngol", "LeirasAngol", QStringLiteral("Angol leírás")},
        {"nLeirasNemet", "LeirasNemet", QStringLiteral("Német leírás")},
        {"nLeirasApro", "LeirasApro", QStringLiteral("Apróhírdetés szövege")},
    };
    for (const auto &page : pages) {
        auto *memo = new QPlainTextEdit;
        memo->setObjectName(name(page.objectName));
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Tab moves on, as everywhere else on the form; Enter stays a new line.
        memo->setTabChangesFocus(true);
        memo->setMinimumHeight(120);
        // The pages' memos follow the tab bar in the tab widget's own order.
        m_memos.append({memo, name(page.field)});
        m_pages->addTab(memo, page.caption);
    }
    layout->addWidget(m_pages);
    layout->addWidget(addCheck("nTelepulestis",
                               QStringLiteral("Az Interneten a település is megjelenhet"),
                               "Telepulestis"));
    return box;
}

void NewPropertyPanel::chainTabOrder()
{
    for (int i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

void NewPropertyPanel::clear()
{
    m_pages->setCurrentIndex(0);
    if (m_windows.fUjKep)
        m_windows.fUjKep->emptyPhotos();
    m_photos->setCount(0);
    m_scroll->verticalScrollBar()->setValue(0);

    for (const auto &text : std::as_const(m_texts))
        text.control->clear();
    m_tipus->setCurrentIndex(m_tipus->count() > 0 ? 0 : -1);
    m_minimumAr->setValue(0);
    m_ar->setValue(0);
    for (const auto &number : std::as_const(m_wholeNumbers))
        number.control->setValue(0);
    m_telekTeruletMertek->setEditText(plotUnitDefault);
    emptyCombo(m_cimVaros);
    emptyCombo(m_cimMegye);
    for (const auto &check : std::as_const(m_checks))
        check.control->setChecked(check.field != QLatin1String("Kulcs"));
    for (const auto &memo : std::as_const(m_memos))
        memo.control->clear();
    emptyWorkingOwners(m_cursors.tdTulaj);
    m_reszletes->setChecked(false);

    if (m_detailedPanel)
        m_detailedPanel->clear();
    m_azonosito->setFocus();
    if (failureOf([this] { m_cleared = state(); }))
        m_cleared.reset(); // the next clearing asks, rather than lose what may be there
}

EntryState NewPropertyPanel::state() const
{
    EntryState state;
    state.fields = collect().fields;
    // Only the count: the photo list window is shared with the modify window, which refills it.
    state.photoCount = m_photos->count();
    state.owners = workingOwnerRows(m_cursors.tdTulaj);
    if (m_detailedPanel)
        state.detailed = m_detailedPanel->description()->values();
    return state;
}

bool NewPropertyPanel::hasUnstoredInput() const
{
    if (!isVisible() && !m_cleared)
        return false; // never shown: nothing typed
    // Unreadable working owners may hide typed input: better to ask once too often.
    bool unstored = true;
    failureOf([this, &unstored] { unstored = !m_cleared || state() != *m_cleared; });
    return unstored;
}

bool NewPropertyPanel::mayDiscardInput() const
{
    return !hasUnstoredInput() || confirmDiscardingInput();
}

NewProperty NewPropertyPanel::collect() const
{
    NewProperty property;
    QVariantMap &fields = property.fields;
    for (const auto &text : m_texts) {
        // A masked edit pads with blanks, which are not part of the postcode.
        const bool masked = m_postcodes.contains(text.control);
        fields.insert(text.field, masked ? text.control->text().trimmed() : text.control->text());
    }
    fields.insert(QStringLiteral("TipusId"), m_tipus->currentIndex());
    fields.insert(QStringLiteral("TipusText"),
                  m_tipus->currentIndex() >= 0 ? m_tipus->currentText() : QString());
    fields.insert(QStringLiteral("MinimumAr"), m_minimumAr->value());
    fields.insert(QStringLiteral("Ar"), m_ar->value());
    for (const auto &number : m_wholeNumbers)
        fields.insert(number.field, number.control->wholeValue());
    fields.insert(QStringLiteral("TelekTeruletMertek"), m_telekTeruletMertek->currentText());
    fields.insert(QStringLiteral("CimVaros"), m_cimVaros->currentText());
    fields.insert(QStringLiteral("CimMegye"), m_cimMegye->currentText());
    for (const auto &check : m_checks)
        fields.insert(check.field, check.control->isChecked());
    fields.insert(QStringLiteral("Reszletes"), m_reszletes->isChecked());
    for (const auto &memo : m_memos)
        fields.insert(memo.field, textformat::memoFromEdit(memo.control->toPlainText()));

    if (m_windows.fUjKep)
        property.photos = m_windows.fUjKep->photos();
    property.photoCount = m_photos->count();
    property.detailed = m_reszletes->isChecked();
    if (m_detailedPanel) {
        const DetailedDescription *description = m_detailedPanel->description();
        property.writeDetailed = [description](Cursor &reszletes) {
            description->writeTo(reszletes);
        };
    }
    return property;
}

bool NewPropertyPanel::store()
{
    const NewProperty property = collect();
    std::optional<CheckFailure> refused;
    const std::optional<QString> failure = failureOf([&] {
        refused = checkNewProperty(property, m_cursors.tEgyszeru);
        if (!refused)
            storeNewProperty(m_cursors, property);
    });
    if (failure) {
        showMessage(QStringLiteral(
                        "Az ingatlan nem került rögzítésre, semmi sem tárolódott el belőle.\n%1\n"
                        "A beírt adatok megmaradtak: a hiba javítása után rögzítse újra!")
                        .arg(*failure));
        return false;
    }
    if (refused) {
        showMessage(refused->message);
        focusControl(refused->focus);
        return false;
    }
    showMessage(QStringLiteral("Az adat sikeresen rögzítésre került!"));
    emit propertyStored();
    clear();
    return true;
}

void NewPropertyPanel::focusControl(const QString &objectName)
{
    if (auto *control = findChild<QWidget *>(objectName)) {
        m_scroll->ensureWidgetVisible(control);
        control->setFocus(Qt::OtherFocusReason);
    }
}

void NewPropertyPanel::lookUpPostcode()
{
    const QString postcode = m_cimIrsz->text().trimmed();
    if (!m_cimVaros->currentText().isEmpty() || postcode.isEmpty())
        return;
    guarded([&] {
        const SettlementOfPostcode settlement = ::lookUpPostcode(m_cursors.tTelep, postcode);
        m_cimVaros->setEditText(settlement.name);
        m_cimMegye->setEditText(settlement.county);
    });
}

void NewPropertyPanel::copyFirstOwner()
{
    Cursor &owners = m_cursors.tdTulaj;
    const bool read = guarded([&owners] {
        if (!owners.isOpen())
            owners.open();
        owners.first();
    });
    if (!read)
        return;
    const struct
    {
        const char *control;
        const char *field;
    } copies[] = {{"nMegbizoNev", "Nev"},        {"nMegbizoIrsz", "Irsz"},
                  {"nMegbizoVaros", "Varos"},    {"nMegbizoUtca", "Utca"},
                  {"nMegbizoSzigsz", "Szigsz"},  {"nMegbizoAnyja", "Anyja"},
                  {"nMegbizoTelefon", "Telefon"}};
    for (const auto &copy : copies) {
        if (auto *edit = findChild<QLineEdit *>(name(copy.control)))
            edit->setText(owners.text(name(copy.field)));
    }
}

void NewPropertyPanel::keyPressEvent(QKeyEvent *event)
{
    // The memos keep Enter for their line breaks and never pass it on; from every other control
    // it reaches here and stores, as the default button of the form.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_rogzit->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool NewPropertyPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *postcode = qobject_cast<QLineEdit *>(watched);
    if (postcode && m_postcodes.contains(postcode)) {
        if (event->type() == QEvent::MouseButtonPress)
            QTimer::singleShot(0, postcode, &QLineEdit::selectAll);
        // Only leaving for another control counts: a dialog coming up is not leaving the field.
        if (event->type() == QEvent::FocusOut && postcode == m_cimIrsz) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                lookUpPostcode();
        }
    }
    return QWidget::eventFilter(watched, event);
}
