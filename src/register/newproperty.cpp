#include "register/newproperty.h"

#include "register/ownergroup.h"
#include "register/photogroup.h"
#include "register/postcodelookup.h"
#include "register/propertyform.h"
#include "register/registerwindows.h"
#include "register/reszletes.h"
#include "register/reszletespanel.h"
#include "register/ujkep.h"
#include "register/workingowners.h"
#include "store/registerstate.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QString name(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

NewPropertyPanel::NewPropertyPanel(RegisterState &cursors, RegisterWindows &windows,
                                   QWidget *parent)
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
    m_propertyForm =
        new PropertyForm(PropertyForm::Arrangement::Column,
                         {m_owners,
                          {m_owners->grid(), m_owners->findChild<QWidget *>(name("Button9")),
                           m_owners->findChild<QWidget *>(name("Button11")),
                           m_owners->findChild<QWidget *>(name("Button12"))}},
                         {m_photos, {m_photos->findChild<QWidget *>(name("nKepValtoztat"))}},
                         QStringLiteral("PageControl1"));
    connect(m_propertyForm, &PropertyForm::sameAsOwnerClicked, this,
            &NewPropertyPanel::copyFirstOwner);
    m_propertyForm->sitePostcode()->installEventFilter(this);
    m_form->addWidget(m_propertyForm);
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
    chainTabOrder();
}

void NewPropertyPanel::chainTabOrder()
{
    const QList<QWidget *> order =
        m_propertyForm->tabChain() + QList<QWidget *> {m_reszletesGomb, m_reszletes, m_rogzit};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void NewPropertyPanel::clear()
{
    // A photo list never opened holds nothing to empty.
    if (TfUjKep *photos = m_windows.fUjKep.made())
        photos->emptyPhotos();
    m_photos->setCount(0);
    m_scroll->verticalScrollBar()->setValue(0);

    m_propertyForm->clear();
    emptyWorkingOwners(m_cursors.tdTulaj);
    m_reszletes->setChecked(false);

    if (m_detailedPanel)
        m_detailedPanel->clear();
    m_propertyForm->identifier()->setFocus();
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
    for (const auto &[field, value] : m_propertyForm->values())
        property.fields.insert(field, value);
    property.fields.insert(QStringLiteral("Reszletes"), m_reszletes->isChecked());

    if (const TfUjKep *photos = m_windows.fUjKep.made())
        property.photos = photos->photos();
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
    const QString postcode = m_propertyForm->sitePostcode()->text().trimmed();
    if (!m_propertyForm->settlement()->currentText().isEmpty() || postcode.isEmpty())
        return;
    guarded([&] {
        const SettlementOfPostcode settlement = ::lookUpPostcode(m_cursors.tTelep, postcode);
        m_propertyForm->settlement()->setEditText(settlement.name);
        m_propertyForm->county()->setEditText(settlement.county);
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
    m_propertyForm->copyPrincipalFrom(owners);
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
    // Only leaving for another control counts: a dialog coming up is not leaving the field.
    if (watched == m_propertyForm->sitePostcode() && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            lookUpPostcode();
    }
    return QWidget::eventFilter(watched, event);
}
