#include "publish/hirek.h"

#include "store/registerstate.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfHirek::TfHirek(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_tHirek(cursors.tHirek)
    , m_dbGrid1(new CursorGrid(&m_tHirek,
                               {
                                   {QStringLiteral("Mikor"), QStringLiteral("Időpont")},
                                   {QStringLiteral("Kuldo"), QStringLiteral("Feladó")},
                                   {QStringLiteral("Uzenet"), QStringLiteral("Hír")},
                               }))
    , m_dbEdit1(new QLineEdit)
    , m_dbEdit2(new QLineEdit)
    , m_dbMemo1(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("fHirek"));
    setWindowTitle(QStringLiteral("Pelmora - Üzenetek"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    QLabel *heading = makeHeading(QStringLiteral("Üzenetek"));
    heading->setObjectName(QStringLiteral("RxLabel4"));
    layout->addWidget(heading);

    m_dbGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_dbGrid1->setMinimumSize(560, 220);
    layout->addWidget(m_dbGrid1, 1);

    auto *fields = new QFormLayout;
    m_dbEdit1->setObjectName(QStringLiteral("DBEdit1"));
    m_dbEdit2->setObjectName(QStringLiteral("DBEdit2"));
    m_dbMemo1->setObjectName(QStringLiteral("DBMemo1"));
    m_dbEdit1->setReadOnly(true);
    m_dbEdit2->setReadOnly(true);
    m_dbMemo1->setReadOnly(true);
    m_dbMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_dbMemo1->setFixedHeight(90);
    fields->addRow(QStringLiteral("Időpont:"), m_dbEdit1);
    fields->addRow(QStringLiteral("Feladó:"), m_dbEdit2);
    fields->addRow(QStringLiteral("Üzenet:"), m_dbMemo1);
    layout->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    auto *bitBtn2 = new QPushButton(QStringLiteral("Töröl"));
    bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    bitBtn2->setAutoDefault(false);
    auto *bitBtn1 = new QPushButton(QStringLiteral("Bezár"));
    bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(bitBtn2);
    buttons->addWidget(bitBtn1);
    layout->addLayout(buttons);
    connect(bitBtn2, &QPushButton::clicked, this, &TfHirek::BitBtn2Click);
    connect(bitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    connect(&m_tHirek, &Cursor::currentChanged, this, &TfHirek::showCurrent);
    connect(&m_tHirek, &Cursor::viewChanged, this, &TfHirek::showCurrent);

    fixAndCentre(this);
}

void TfHirek::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfHirek::hideEvent(QHideEvent *event)
{
    FormClose();
    QDialog::hideEvent(event);
}

void TfHirek::FormActivate()
{
    const bool opened = guarded([this] {
        m_tHirek.open();
        m_tHirek.first();
    });
    // Unreadable news leave the window empty rather than half open over a failing table.
    if (!opened)
        m_tHirek.close();
    guarded([this] { showCurrent(); });
}

void TfHirek::FormClose()
{
    m_tHirek.close();
}

void TfHirek::showCurrent()
{
    const bool open = m_tHirek.isOpen();
    m_dbEdit1->setText(open ? m_tHirek.text(QStringLiteral("Mikor")) : QString());
    m_dbEdit2->setText(open ? m_tHirek.text(QStringLiteral("Kuldo")) : QString());
    m_dbMemo1->setPlainText(open ? textformat::memoToEdit(m_tHirek.text(QStringLiteral("Uzenet")))
                                 : QString());
}

void TfHirek::BitBtn2Click()
{
    guarded([this] {
        if (m_tHirek.isEmpty())
            return;
        if (askQuestion(QStringLiteral("A bejegyzés véglegesen törlődik! Biztosan folytatja?")))
            m_tHirek.remove();
    });
}
