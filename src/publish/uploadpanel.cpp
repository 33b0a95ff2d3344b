#include "publish/uploadpanel.h"

#include "publish/feltoltes.h"
#include "publish/uploadview.h"
#include "store/registerstate.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *speedButton(const char *name, const QString &caption)
{
    auto *button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

UploadPanel::UploadPanel(RegisterState &cursors, QWidget *parent)
    : QWidget(parent)
    , m_cursors(cursors)
    , m_checkBox1(new QCheckBox(QStringLiteral("Csak a még fel nem töltött ingatlanok feltöltése")))
    , m_button6(new QPushButton(QStringLiteral("Feltöltés")))
    , m_dbGrid2(new CursorGrid(&cursors.tEgyszeru,
                               {
                                   {QStringLiteral("Azonosito"), QStringLiteral("Azonosító")},
                                   {QStringLiteral("TipusText"), QStringLiteral("Típus")},
                                   {QStringLiteral("ArText"), QStringLiteral("Ár"), Qt::AlignRight},
                                   {QStringLiteral("CimTeljes"), QStringLiteral("Cím")},
                               }))
{
    setObjectName(QStringLiteral("pUpload"));
    auto *layout = new QVBoxLayout(this);

    QLabel *heading = makeHeading(QStringLiteral("Ingatlanok feltöltése a webes adatbázisba"));
    heading->setObjectName(QStringLiteral("RxLabel4"));
    layout->addWidget(heading);

    auto *filters = new QHBoxLayout;
    QToolButton *speedButton3 =
        speedButton("SpeedButton3", QStringLiteral("Az engedélyezett ingatlanok"));
    QToolButton *speedButton2 = speedButton("SpeedButton2", QStringLiteral("Az összes ingatlan"));
    filters->addWidget(speedButton3);
    filters->addWidget(speedButton2);
    filters->addStretch();
    layout->addLayout(filters);
    connect(speedButton3, &QToolButton::clicked, this, &UploadPanel::SpeedButton3Click);
    connect(speedButton2, &QToolButton::clicked, this, &UploadPanel::SpeedButton2Click);

    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setChecked(true);
    layout->addWidget(m_checkBox1);

    auto *label8 = new QLabel(QStringLiteral("Feltöltésre váró ingatlanok:"));
    label8->setObjectName(QStringLiteral("Label8"));
    QFont bold = label8->font();
    bold.setBold(true);
    label8->setFont(bold);
    layout->addWidget(label8);

    m_dbGrid2->setObjectName(QStringLiteral("DBGrid2"));
    layout->addWidget(m_dbGrid2, 1);
    connect(m_dbGrid2, &CursorGrid::rowDoubleClicked, this, &UploadPanel::browseRequested);

    auto *buttons = new QHBoxLayout;
    auto *button7 = new QPushButton(QStringLiteral("Szerver beállítások"));
    button7->setObjectName(QStringLiteral("Button7"));
    m_button6->setObjectName(QStringLiteral("Button6"));
    buttons->addWidget(button7);
    buttons->addStretch();
    buttons->addWidget(m_button6);
    layout->addLayout(buttons);
    connect(button7, &QPushButton::clicked, this, &UploadPanel::serverSettingsRequested);
    connect(m_button6, &QPushButton::clicked, this, &UploadPanel::Button6Click);
}

void UploadPanel::setUploadFilter(const QString &filterText)
{
    Cursor &properties = m_cursors.tEgyszeru;
    properties.setFilterText(filterText);
    properties.setFiltered(true);
}

void UploadPanel::Label80Click()
{
    setUploadFilter(uploadViewFilter(UploadView::OnEntry, m_checkBox1->isChecked()));
    m_button6->setEnabled(true);
}

void UploadPanel::SpeedButton3Click()
{
    setUploadFilter(uploadViewFilter(UploadView::Published, m_checkBox1->isChecked()));
}

void UploadPanel::SpeedButton2Click()
{
    setUploadFilter(uploadViewFilter(UploadView::AnyState, m_checkBox1->isChecked()));
}

void UploadPanel::Button6Click()
{
    TfFeltoltes window(m_cursors, this);
    window.exec();
}
