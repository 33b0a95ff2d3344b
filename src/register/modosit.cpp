#include "modosit.h"

#include "counties.h"
#include "cursor.h"
#include "dialogframe.h"
#include "errorboundary.h"
#include "maincursors.h"
#include "messages.h"
#include "numberedit.h"
#include "optionlists.h"
#include "ownergroup.h"
#include "photogroup.h"
#include "photos.h"
#include "registerwindows.h"
#include "reszletes.h"
#include "saveproperty.h"
#include "textformat.h"
#include "ujkep.h"
#include "wheelguard.h"
#include "workingowners.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

constexpr double largestPrice = 999999999999.0;

// Every item of a cursor's `Name` field in stored order.
QStringList names(Cursor &cursor)
{
    const bool wasOpen = cursor.isOpen();
    cursor.open();
    QStringList list;
    for (int at = 0, count = cursor.recordCount(); at < count; ++at)
        list << cursor.recordAt(at).text(s("Name"));
    if (!wasOpen)
        cursor.close();
    return list;
}

} // namespace

TfModosit::TfModosit(MainCursors &cursors, RegisterWindows &windows, QWidget *parent)
    : QDialog(parent)
    , m_c(cursors)
    , m_windows(windows)
{
    setObjectName(s("fModosit"));
    setWindowTitle(s("Pelmora - Adatok módosítása"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(s("Ingatlan adatainak módosítása")));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(s("PageControl1"));
    m_pages->addTab(buildSimplePage(), s("Egyszerű leírás"));
    m_pages->addTab(buildDetailedPage(), s("Részletes leírás"));
    layout->addWidget(m_pages, 1);

    m_reszletes = new QCheckBox(s("Van részletes leírás"), this);
    m_reszletes->setObjectName(s("nReszletes"));
    connect(m_reszletes, &QCheckBox::clicked, this, &TfModosit::nReszletesClick);
    auto *cancel = new QPushButton(s("Mégsem"), this);
    cancel->setObjectName(s("BitBtn1"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *save = new QPushButton(s("Módosít"), this);
    save->setObjectName(s("BitBtn2"));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &TfModosit::BitBtn2Click);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_reszletes);
    bottom->addStretch();
    bottom->addWidget(cancel);
    bottom->addWidget(save);
    layout->addLayout(bottom);

    m_tipus->addItems(names(m_c.tItypes));
    if (QComboBox *varos = findChild<QComboBox *>(s("nCimVaros")))
        varos->addItems(names(m_c.tTelep));
    resetDetailed();
    // Room for the simple data side by side with the address; the rest scrolls.
    m_pages->setMinimumSize(1000, 640);
    fixAndCentre(this);
}

QWidget *TfModosit::buildSimplePage()
{
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->addWidget(propertyBox(), 0, 0);
    grid->addWidget(addressBox(), 0, 1);
    m_owners = new OwnerGroup(m_c.modifyWorkingOwners, m_windows, content);
    grid->addWidget(m_owners, 1, 0, 1, 2);
    grid->addWidget(principalBox(), 2, 0);
    m_photos = new PhotoGroup(m_windows, content);
    auto *right = new QVBoxLayout;
    right->addWidget(
        addCheck(s("nAproCheck"), s("Az ingatlan felkerülhet az apróhirdetések közé"), s("Apro")));
    right->addWidget(
        addCheck(s("nWebCheck"), s("Az ingatlan felkerülhet a webes adatbázisba"), s("Web")));
    right->addWidget(
        addCheck(s("nKulcsCheck"), s("Megtekintésre a kulcs az irodában"), s("Kulcs")));
    right->addWidget(addCheck(s("nTelepulestis"), s("Az Interneten a település is megjelenhet"),
                              s("Telepulestis")));
    right->addWidget(m_photos);
    right->addStretch();
    grid->addLayout(right, 2, 1);
    grid->addWidget(descriptionPages(), 3, 0, 1, 2);

    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return scroll;
}

QWidget *TfModosit::propertyBox()
{
    auto *box = new QGroupBox;
    auto *form = new QFormLayout(box);
    m_azonosito = addText(s("nAzonosito"), s("Azonosito"));
    m_azonosito->setMaxLength(20);
    QFont bold = m_azonosito->font();
    bold.setBold(true);
    m_azonosito->setFont(bold);
    form->addRow(s("Azonosító:"), m_azonosito);
    m_tipus = new QComboBox;
    m_tipus->setObjectName(s("nTipus"));
    takeWheelOnlyWithFocus(m_tipus);
    form->addRow(s("Ingatlan típusa:"), m_tipus);
    form->addRow(s("Minimum ár:"),
                 addNumber(new NumberEdit(s("nMinimumAr"), s(" Ft"), 0, largestPrice),
                           s("MinimumAr"), false));
    form->addRow(s("Ár:"),
                 addNumber(new NumberEdit(s("nAr"), s(" Ft"), 0, largestPrice), s("Ar"), false));
    form->addRow(
        s("Építés éve:"),
        addNumber(new NumberEdit(s("nEpitesEve"), QString(), 0, 9999), s("EpitesEve"), true));
    form->addRow(
        s("Felújítás éve:"),
        addNumber(new NumberEdit(s("nFelujitasEve"), QString(), 0, 9999), s("FelujitasEve"), true));
    auto *building = new QHBoxLayout;
    building->addWidget(addNumber(new NumberEdit(s("nEpuletTerulet"), QString(), 0, 99999999),
                                  s("EpuletTerulet"), true));
    building->addWidget(new QLabel(s("m<sup>2</sup>")));
    form->addRow(s("Épület terület:"), building);
    auto *plot = new QHBoxLayout;
    plot->addWidget(addNumber(new NumberEdit(s("nTelekTerulet"), QString(), 0, 99999999),
                              s("TelekTerulet"), true));
    plot->addWidget(addCombo(s("nTelekTeruletMertek"),
                             {s("négyzetméter"), s("hektár"), s("négyszögöl")},
                             s("TelekTeruletMertek")));
    form->addRow(s("Telek terület:"), plot);
    form->addRow(s("Összes helyiség:"),
                 addNumber(makeCounter(s("nOsszHelyseg")), s("OsszesHelyseg"), true));
    form->addRow(s("Ebből szoba:"), addNumber(makeCounter(s("nSzoba")), s("Szoba"), true));
    form->addRow(s("Garázs:"), addNumber(makeCounter(s("nGarazs")), s("Garazs"), true));
    return box;
}

QWidget *TfModosit::addressBox()
{
    auto *box = new QGroupBox(s("Cím"));
    auto *form = new QFormLayout(box);
    // No settlement look-up here: the address was complete when the property was entered.
    form->addRow(s("Irányítószám:"), addPostcode(s("nCimIrsz"), s("CimIrsz")));
    form->addRow(s("Város:"), addCombo(s("nCimVaros"), {}, s("CimVaros")));
    form->addRow(s("Megye:"), addCombo(s("nCimMegye"), hungarianCounties(), s("CimMegye")));
    form->addRow(s("Utca:"), addText(s("nCimUtca"), s("CimUtca")));
    form->addRow(s("Házszám:"), addText(s("nCimHazszam"), s("CimHazszam")));
    form->addRow(s("Emelet:"), addText(s("nCimEmelet"), s("CimEmelet")));
    form->addRow(s("Ajtó:"), addText(s("nCimAjto"), s("CimAjto")));
    form->addRow(s("Helyrajzi szám:"), addText(s("nHrsz"), s("Hrsz")));
    form->addRow(s("Régió:"), addText(s("nCimRegio"), s("CimRegio")));
    return box;
}

QWidget *TfModosit::principalBox()
{
    auto *box = new QGroupBox(s("Megbízó"));
    auto *form = new QFormLayout(box);
    form->addRow(s("Neve:"), addText(s("nMegbizoNev"), s("MegbizoNev")));
    form->addRow(s("Irányítószám:"), addPostcode(s("nMegbizoIrsz"), s("MegbizoIrsz")));
    form->addRow(s("Város:"), addText(s("nMegbizoVaros"), s("MegbizoVaros")));
    form->addRow(s("Utca, házszám:"), addText(s("nMegbizoUtca"), s("MegbizoUtca")));
    form->addRow(s("Telefon:"), addText(s("nMegbizoTelefon"), s("MegbizoTelefon")));
    form->addRow(s("Személyigazolvány száma:"), addText(s("nMegbizoSzigsz"), s("MegbizoSzigsz")));
    form->addRow(s("Anyja neve:"), addText(s("nMegbizoAnyja"), s("MegbizoAnyja")));
    auto *same = new QPushButton(s("U.a. mint a tulajdonos"));
    same->setObjectName(s("Button1"));
    same->setAutoDefault(false);
    connect(same, &QPushButton::clicked, this, &TfModosit::Button1Click);
    form->addRow(same);
    return box;
}

QWidget *TfModosit::descriptionPages()
{
    m_descriptions = new QTabWidget;
    m_descriptions->setObjectName(s("PageControl2"));
    const std::pair<const char *, const char *> pages[] = {{"nLeirasMagyar", "LeirasMagyar"},
                                                           {"nLeirasAngol", "LeirasAngol"},
                                                           {"nLeirasNemet", "LeirasNemet"},
                                                           {"nLeirasApro", "LeirasApro"}};
    const QStringList titles = {s("Magyar leírás"), s("Angol leírás"), s("Német leírás"),
                                s("Apróhírdetés szövege")};
    for (int i = 0; i < 4; ++i) {
        auto *memo = new QPlainTextEdit;
        memo->setObjectName(s(pages[i].first));
        memo->setTabChangesFocus(true);
        m_memos.append({memo, s(pages[i].second)});
        m_descriptions->addTab(memo, titles[i]);
    }
    m_descriptions->setMinimumHeight(150);
    return m_descriptions;
}

QWidget *TfModosit::buildDetailedPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_detailed = new DetailedDescription;
    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(s("ScrollBox1"));
    m_scrollBox->setWidget(m_detailed);
    m_scrollBox->setWidgetResizable(true);
    m_noDetailed = new QLabel(s("Nincs részletes leírás"));
    m_noDetailed->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_scrollBox, 1);
    layout->addWidget(m_noDetailed, 1);
    return page;
}

QLineEdit *TfModosit::addText(const QString &name, const QString &field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    m_texts.append({edit, field});
    return edit;
}

QLineEdit *TfModosit::addPostcode(const QString &name, const QString &field)
{
    QLineEdit *edit = addText(name, field);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(s("[0-9]{0,4}")), edit));
    edit->setMaxLength(4);
    return edit;
}

NumberEdit *TfModosit::addNumber(NumberEdit *edit, const QString &field, bool whole)
{
    m_numbers.append({edit, field, whole});
    return edit;
}

QCheckBox *TfModosit::addCheck(const QString &name, const QString &caption, const QString &field)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(name);
    m_checks.append({box, field});
    return box;
}

QComboBox *TfModosit::addCombo(const QString &name, const QStringList &items, const QString &field)
{
    auto *combo = new QComboBox;
    combo->setObjectName(name);
    takeWheelOnlyWithFocus(combo);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    m_combos.append({combo, field});
    return combo;
}

void TfModosit::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_entryPhotos = m_windows.fUjKep->photos();
        m_loaded.reset();
        guarded([this] {
            FormShow();
            m_loaded = state();
        });
    }
    QDialog::showEvent(event);
}

void TfModosit::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_windows.fUjKep->setPhotos(m_entryPhotos);
    QDialog::hideEvent(event);
}

void TfModosit::closeEvent(QCloseEvent *event)
{
    bool unsaved = true;
    // A window that could not be read, or whose state cannot be read now, asks rather than
    // guesses.
    if (m_loaded)
        guarded([this, &unsaved] { unsaved = state() != *m_loaded; });
    if (unsaved && !confirmDiscardingInput()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

EntryState TfModosit::state() const
{
    EntryState state;
    const PropertyChanges edited = changes();
    for (const auto &[field, value] : edited.fields)
        state.fields.insert(field, value);
    state.photos = edited.photos;
    state.photoCount = edited.photoCount;
    state.owners = workingOwnerRows(m_c.modifyWorkingOwners);
    state.detailed = m_detailed->values();
    return state;
}

void TfModosit::FormShow()
{
    const Cursor &p = m_c.tEgyszeru;
    m_descriptions->setCurrentIndex(0);
    m_windows.fUjKep->emptyPhotos();

    m_azonosito->setText(p.text(s("Azonosito")));
    m_reszletes->setChecked(p.boolean(s("Reszletes")));
    const int type = int(textformat::roundHalfEven(p.number(s("TipusId"))));
    // A position beyond the list shows no type; saving then keeps the stored one.
    m_tipus->setCurrentIndex(type >= 0 && type < m_tipus->count() ? type : -1);
    for (const NumberControl &number : std::as_const(m_numbers))
        number.edit->setValue(p.number(number.field));
    for (const auto &[combo, field] : std::as_const(m_combos))
        combo->setEditText(p.text(field));
    for (const TextControl &text : std::as_const(m_texts))
        text.edit->setText(p.text(text.field));

    const int id = p.integer(s("Id"));
    loadWorkingOwners(m_c, id);

    for (const CheckControl &check : std::as_const(m_checks))
        check.box->setChecked(p.boolean(check.field));
    for (const MemoControl &memo : std::as_const(m_memos))
        memo.edit->setPlainText(textformat::memoToEdit(p.text(memo.field)));

    for (int slot = 1; slot <= maxPhotos; ++slot) {
        const QString name = p.text(QStringLiteral("Kep%1").arg(slot));
        if (!name.isEmpty())
            m_windows.fUjKep->addPhoto(photoPath(p.dataDir(), name));
    }
    m_photos->setCount(m_windows.fUjKep->photos().size());

    showDetailedPage(m_reszletes->isChecked());
    // Never the previous property's values: without a record of its own the page starts afresh.
    resetDetailed();
    if (m_reszletes->isChecked()) {
        Cursor &detailed = m_c.tReszletes;
        detailed.open();
        detailed.setFiltered(false);
        if (detailed.locate(QStringLiteral("EgyszeruId = %1").arg(id)))
            m_detailed->loadFrom(detailed.record());
        detailed.close();
    }
    m_azonosito->setFocus();
}

void TfModosit::resetDetailed()
{
    m_detailed->clear();
    m_detailed->alak()->setIndex(m_detailed->alak()->captions().indexOf(s("nincs")));
    m_detailed->komfort()->setIndex(0);
}

void TfModosit::showDetailedPage(bool shown)
{
    m_pages->setTabEnabled(1, shown);
    m_scrollBox->setVisible(shown);
    m_noDetailed->setVisible(!shown);
}

void TfModosit::nReszletesClick()
{
    showDetailedPage(m_reszletes->isChecked());
}

void TfModosit::Button1Click()
{
    const auto principal = [this](const char *name) {
        return findChild<QLineEdit *>(s(name));
    };
    const std::pair<const char *, const char *> copied[] = {
        {"nMegbizoNev", "Nev"},        {"nMegbizoIrsz", "Irsz"},     {"nMegbizoVaros", "Varos"},
        {"nMegbizoUtca", "Utca"},      {"nMegbizoSzigsz", "Szigsz"}, {"nMegbizoAnyja", "Anyja"},
        {"nMegbizoTelefon", "Telefon"}};
    Cursor &working = m_c.modifyWorkingOwners;
    working.open();
    working.first();
    for (const auto &[edit, field] : copied)
        principal(edit)->setText(working.text(s(field)));
}

PropertyChanges TfModosit::changes() const
{
    PropertyChanges changes;
    auto &fields = changes.fields;
    fields.append({s("Azonosito"), m_azonosito->text()});
    if (m_tipus->currentIndex() >= 0) {
        fields.append({s("TipusId"), m_tipus->currentIndex()});
        fields.append({s("TipusText"), m_tipus->currentText()});
    }
    for (const NumberControl &number : m_numbers)
        fields.append(
            {number.field,
             number.whole ? QVariant(number.edit->wholeValue()) : QVariant(number.edit->value())});
    for (const auto &[combo, field] : m_combos)
        fields.append({field, combo->currentText()});
    for (const TextControl &text : m_texts)
        fields.append({text.field, text.edit->text()});
    for (const CheckControl &check : m_checks)
        fields.append({check.field, check.box->isChecked()});
    fields.append({s("Reszletes"), m_reszletes->isChecked()});
    for (const MemoControl &memo : m_memos)
        fields.append({memo.field, textformat::memoFromEdit(memo.edit->toPlainText())});

    changes.photos = m_windows.fUjKep->photos();
    changes.photoCount = m_photos->count();
    if (m_reszletes->isChecked()) {
        const DetailedDescription *detailed = m_detailed;
        changes.writeDetailed = [detailed](Cursor &reszletes) {
            detailed->writeTo(reszletes);
        };
    }
    return changes;
}

void TfModosit::BitBtn2Click()
{
    bool taken = false;
    const bool saved = guarded([this, &taken] {
        taken = identifierTaken(m_c.db, m_azonosito->text(), m_c.tEgyszeru.integer(s("Id")));
        if (!taken)
            saveModifiedProperty(m_c, changes());
    });
    if (taken) {
        showMessage(s("Van már ilyen azonosító!"));
        m_azonosito->setFocus();
        return;
    }
    if (!saved)
        return;
    emit propertySaved();
    accept();
}
