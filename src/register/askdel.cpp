#include "register/askdel.h"

#include "register/archiving.h"
#include "register/optionlists.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Reasons from here on take the typed text's field along.
constexpr int firstOpenReason = 3;

} // namespace

TfDel::TfDel(RegisterState &cursors, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_c(cursors)
    , m_oka(new RadioChoice(u"dOka"_s, u" A törlés oka "_s, deletionReasons(), 1, this))
    , m_egyeb(new QLineEdit(this))
    , m_vegleg(new QCheckBox(u"Az adat véglegesen törlődik az adatbázisból"_s, this))
{
    setObjectName(u"fDel"_s);
    setWindowTitle(u"Pelmora - Törlés"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(u"Ingatlan törlése"_s));

    m_oka->setIndex(0);
    for (int i = 0; i < m_oka->captions().size(); ++i)
        connect(m_oka->option(i), &QRadioButton::clicked, this, &TfDel::dOkaClick);
    m_egyeb->setObjectName(u"dEgyeb"_s);
    auto *reason = new QHBoxLayout;
    reason->addWidget(m_oka, 1);
    auto *other = new QVBoxLayout;
    other->addStretch();
    other->addWidget(m_egyeb);
    reason->addLayout(other);
    layout->addLayout(reason);

    m_vegleg->setObjectName(u"dVegleg"_s);
    connect(m_vegleg, &QCheckBox::clicked, this, &TfDel::dVeglegClick);
    layout->addWidget(m_vegleg);

    auto *ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"BitBtn1"_s);
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TfDel::BitBtn1Click);
    // Enter cancels: deleting takes a deliberate click.
    auto *cancel = new QPushButton(u"&Mégsem"_s, this);
    cancel->setObjectName(u"BitBtn2"_s);
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    fixAndCentre(this);
    cancel->setFocus();
}

void TfDel::dOkaClick()
{
    m_egyeb->setEnabled(m_oka->index() >= firstOpenReason);
}

void TfDel::dVeglegClick()
{
    const bool enabled = !m_vegleg->isChecked();
    m_oka->setEnabled(enabled);
    m_egyeb->setEnabled(enabled);
}

void TfDel::BitBtn1Click()
{
    const bool done = guarded([this] {
        if (m_vegleg->isChecked()) {
            deletePropertyOutright(m_c);
            return;
        }
        const int reason = m_oka->index();
        const bool typed = reason == deletionReasons().size() - 1;
        archiveProperty(m_c, typed ? m_egyeb->text() : m_oka->caption());
    });
    if (done)
        accept();
}
