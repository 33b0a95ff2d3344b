#include "buyers/erdutkoztet.h"

#include "store/registerstate.h"
#include "widgets/cursormodel.h"
#include "widgets/dialogframe.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TfErdUtkoztet::TfErdUtkoztet(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_cursors(cursors)
{
    setObjectName(QStringLiteral("fErdUtkoztet"));
    setWindowTitle(QStringLiteral("Pelmora - Érdeklődés találatok"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Találatok")));

    uTalalatok = new QTableView;
    uTalalatok->setObjectName(QStringLiteral("uTalalatok"));
    uTalalatok->setSelectionBehavior(QAbstractItemView::SelectRows);
    uTalalatok->setSelectionMode(QAbstractItemView::SingleSelection);
    uTalalatok->setEditTriggers(QAbstractItemView::NoEditTriggers);
    uTalalatok->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    uTalalatok->verticalHeader()->setVisible(false);
    uTalalatok->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(uTalalatok, 1);

    auto *bezar = new QPushButton(QStringLiteral("Bezár"));
    bezar->setObjectName(QStringLiteral("BitBtn1"));
    connect(bezar, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bezar);
    layout->addLayout(buttons);
    resize(640, 420);
}

void TfErdUtkoztet::showHits(const matching::Criteria &request)
{
    Cursor &properties = m_cursors.tEgyszeru;
    properties.setFilterText(matching::matchExpression(request));
    properties.setFiltered(true);
    // The rows are read from the filtered register as they scroll into view, so a request that
    // half the register fits opens as quickly as one with a single hit.
    m_hits = new CursorModel(&properties,
                             {{QStringLiteral("Azonosito"), QStringLiteral("Azonosító")},
                              {QStringLiteral("CimTeljes"), QStringLiteral("Cím")},
                              {QStringLiteral("TipusText"), QStringLiteral("Típus")}},
                             this);
    uTalalatok->setModel(m_hits);
    uTalalatok->setColumnWidth(0, 120);
    uTalalatok->setColumnWidth(1, 340);
    exec();
}

void TfErdUtkoztet::done(int result)
{
    // A closed list no longer follows the shared register cursor.
    uTalalatok->setModel(nullptr);
    delete m_hits;
    m_hits = nullptr;
    QDialog::done(result);
}
