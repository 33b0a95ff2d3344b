#include "register/modosit.h"

#include "register/optionlists.h"
#include "register/ownergroup.h"
#include "register/photogroup.h"
#include "register/photos.h"
#include "register/propertyform.h"
#include "register/propertystore.h"
#include "register/registerwindows.h"
#include "register/reszletes.h"
#include "register/ujkep.h"
#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/filter.h"
#include "store/referencelists.h"
#include "store/registerstate.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfModosit::TfModosit(RegisterState &cursors, RegisterWindows &windows, QWidget *parent)
    : QDialog(parent)
    , m_c(cursors)
    , m_windows(windows)
{
    setObjectName(u"fModosit"_s);
    setWindowTitle(u"Pelmora - Adatok módosítása"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(u"Ingatlan adatainak módosítása"_s));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"PageControl1"_s);
    m_pages->addTab(buildSimplePage(), u"Egyszerű leírás"_s);
    m_pages->addTab(buildDetailedPage(), u"Részletes leírás"_s);
    layout->addWidget(m_pages, 1);

    m_reszletes = new QCheckBox(u"Van részletes leírás"_s, this);
    m_reszletes->setObjectName(u"nReszletes"_s);
    connect(m_reszletes, &QCheckBox::clicked, this, &TfModosit::nReszletesClick);
    auto *cancel = new QPushButton(u"Mégsem"_s, this);
    cancel->setObjectName(u"BitBtn1"_s);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *save = new QPushButton(u"Módosít"_s, this);
    save->setObjectName(u"BitBtn2"_s);
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &TfModosit::BitBtn2Click);
    // Only the office server has other workstations to save the same property meanwhile.
    auto *reload = new QPushButton(u"Újraolvasás"_s, this);
    reload->setObjectName(u"btUjraolvasas"_s);
    reload->setAutoDefault(false);
    reload->setVisible(m_c.db.isServer());
    connect(reload, &QPushButton::clicked, this, [this] { guarded([this] { reloadClick(); }); });
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_reszletes);
    bottom->addStretch();
    bottom->addWidget(reload);
    bottom->addWidget(cancel);
    bottom->addWidget(save);
    layout->addLayout(bottom);

    m_form->setLists(nameList(m_c.tItypes), nameList(m_c.tTelep));
    const QList<QWidget *> order =
        m_form->tabChain() + QList<QWidget *> {m_reszletes, cancel, save};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    resetDetailed();
    // Room for the simple data side by side with the address; the rest scrolls.
    m_pages->setMinimumSize(1000, 640);
    fixAndCentre(this);
}

QWidget *TfModosit::buildSimplePage()
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    m_owners = new OwnerGroup(m_c.modifyWorkingOwners, m_windows);
    m_photos = new PhotoGroup(m_windows);
    m_form = new PropertyForm(PropertyForm::Arrangement::Grid,
                              {m_owners,
                               {m_owners->grid(), m_owners->findChild<QWidget *>(u"Button9"_s),
                                m_owners->findChild<QWidget *>(u"Button11"_s),
                                m_owners->findChild<QWidget *>(u"Button12"_s)}},
                              {m_photos, {m_photos->findChild<QWidget *>(u"nKepValtoztat"_s)}},
                              u"PageControl2"_s);
    connect(m_form, &PropertyForm::sameAsOwnerClicked, this, &TfModosit::Button1Click);
    // The identifier stands out: it names the property being changed.
    QFont bold = m_form->identifier()->font();
    bold.setBold(true);
    m_form->identifier()->setFont(bold);
    layout->addWidget(m_form);

    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return scroll;
}

QWidget *TfModosit::buildDetailedPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_detailed = new DetailedDescription;
    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(u"ScrollBox1"_s);
    m_scrollBox->setWidget(m_detailed);
    m_scrollBox->setWidgetResizable(true);
    m_noDetailed = new QLabel(u"Nincs részletes leírás"_s);
    m_noDetailed->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_scrollBox, 1);
    layout->addWidget(m_noDetailed, 1);
    return page;
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
    m_windows.fUjKep->emptyPhotos();

    m_readId = p.integer(u"Id"_s);
    m_readVersion = p.rowVersion();
    // A type position beyond the list shows no type; saving then keeps the stored one.
    m_form->load(p);
    m_reszletes->setChecked(p.boolean(u"Reszletes"_s));
    const int id = p.integer(u"Id"_s);
    loadWorkingOwners(m_c, id);

    for (int slot = 1; slot <= maxPhotos; ++slot) {
        const QString name = p.text(QStringLiteral("Kep%1").arg(slot));
        if (!name.isEmpty())
            m_windows.fUjKep->addPhoto(photostore::localFile(p.database(), name));
    }
    m_photos->setCount(m_windows.fUjKep->photos().size());

    showDetailedPage(m_reszletes->isChecked());
    // Never the previous property's values: without a record of its own the page starts afresh.
    resetDetailed();
    if (m_reszletes->isChecked()) {
        const Record detailed = detailedRecordOf(m_c.db, id);
        if (!detailed.isNull())
            m_detailed->loadFrom(detailed);
    }
    m_form->identifier()->setFocus();
}

void TfModosit::reloadClick()
{
    Cursor &p = m_c.tEgyszeru;
    p.reread();
    if (m_readId != 0 && p.integer(u"Id"_s) != m_readId && !p.locate(filters::withId(m_readId)))
        throw ConflictError(tables::egyszeru, true);
    FormShow();
    m_loaded = state();
}

void TfModosit::resetDetailed()
{
    m_detailed->clear();
    m_detailed->alak()->setIndex(m_detailed->alak()->captions().indexOf(u"nincs"_s));
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
    Cursor &working = m_c.modifyWorkingOwners;
    working.open();
    working.first();
    m_form->copyPrincipalFrom(working);
}

PropertyChanges TfModosit::changes() const
{
    PropertyChanges changes;
    changes.fields = m_form->values();
    changes.fields.append({u"Reszletes"_s, m_reszletes->isChecked()});

    changes.id = m_readId;
    changes.readVersion = m_readVersion;
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
        taken =
            identifierTaken(m_c.db, m_form->identifier()->text(), m_c.tEgyszeru.integer(u"Id"_s));
        if (!taken)
            saveModifiedProperty(m_c, changes());
    });
    if (taken) {
        showMessage(u"Van már ilyen azonosító!"_s);
        m_form->identifier()->setFocus();
        return;
    }
    if (!saved)
        return;
    emit propertySaved();
    accept();
}
