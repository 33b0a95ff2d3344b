#include "register/searchpanel.h"

#include "register/printlist.h"
#include "store/registerstate.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"
#include "widgets/messages.h"
#include "widgets/numberedit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const QColor sortMark(128, 128, 128);
const QStringList sortIndexes {QStringLiteral("iazonosito"), QStringLiteral("itipustext"),
                               QStringLiteral("iar"), QStringLiteral("ivaros")};

QPushButton *button(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

SearchPanel::SearchPanel(RegisterState &cursors, QWidget *parent)
    : QWidget(parent)
    , m_cursors(cursors)
    , m_azonosito(new QLineEdit)
    , m_telepules(new QComboBox)
    , m_tipus(new QComboBox)
    , m_artol(new NumberEdit(QStringLiteral("sArtol"), QStringLiteral(" Ft"), 0, unboundedPrice))
    , m_arig(new NumberEdit(QStringLiteral("sArig"), QStringLiteral(" Ft"), 0, unboundedPrice))
    , m_grid(new CursorGrid(
          &cursors.tEgyszeru,
          {
              {QStringLiteral("Azonosito"), QStringLiteral("Azonosító"), Qt::AlignLeft},
              {QStringLiteral("TipusText"), QStringLiteral("Típus"), Qt::AlignLeft},
              {QStringLiteral("ArText"), QStringLiteral("Ár"), Qt::AlignRight},
              {QStringLiteral("CimTeljes"), QStringLiteral("Cím"), Qt::AlignLeft},
              {QStringLiteral("PrintText"), QStringLiteral("Nyomtatandó"), Qt::AlignHCenter},
          }))
{
    setObjectName(QStringLiteral("pSearch"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Ingatlan adatainak módosítása, keresése")));

    buildFields(layout);
    const Buttons buttons = makeButtons();
    buildResults(layout, buttons);
    orderTabs(buttons);
    connectButtons(buttons);
}

void SearchPanel::buildFields(QVBoxLayout *layout)
{
    auto *searchLabel = new QLabel(QStringLiteral("Keresés:"));
    QFont bold = searchLabel->font();
    bold.setBold(true);
    searchLabel->setFont(bold);
    layout->addWidget(searchLabel);

    m_azonosito->setObjectName(QStringLiteral("sAzonosito"));
    m_azonosito->setFont(bold);
    m_telepules->setObjectName(QStringLiteral("sTelepules"));
    m_telepules->setEditable(true);
    m_telepules->setInsertPolicy(QComboBox::NoInsert);
    m_tipus->setObjectName(QStringLiteral("sTipus"));

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Azonosító:")), 0, 0);
    fields->addWidget(m_azonosito, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Település:")), 0, 2);
    fields->addWidget(m_telepules, 0, 3);
    fields->addWidget(new QLabel(QStringLiteral("Típus:")), 1, 0);
    fields->addWidget(m_tipus, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Ár:")), 1, 2);
    auto *prices = new QHBoxLayout;
    prices->addWidget(m_artol);
    prices->addWidget(new QLabel(QStringLiteral("-tól")));
    prices->addWidget(m_arig);
    prices->addWidget(new QLabel(QStringLiteral("-ig")));
    fields->addLayout(prices, 1, 3);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 2);
    layout->addLayout(fields);
}

SearchPanel::Buttons SearchPanel::makeButtons()
{
    return {
        button("BitBtn1", QStringLiteral("Keresés")),
        button("BitBtn5", QStringLiteral("Összes ingatlan")),
        button("Button2", QStringLiteral("Tallózás...")),
        button("BitBtn6", QStringLiteral("Nyomtatás...")),
        button("Button3", QStringLiteral("Nyomtatási listába tesz")),
        button("BitBtn7", QStringLiteral("Nyomtatási lista törlése")),
        button("BitBtn3", QStringLiteral("Törlés")),
        button("BitBtn2", QStringLiteral("Módosítás")),
    };
}

void SearchPanel::buildResults(QVBoxLayout *layout, const Buttons &b)
{
    auto *searchButtons = new QHBoxLayout;
    searchButtons->addWidget(b.search);
    searchButtons->addWidget(b.all);
    searchButtons->addStretch();
    layout->addLayout(searchButtons);

    layout->addWidget(new QLabel(QStringLiteral("Eredmények:")));
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setToolTip(QStringLiteral("A fejlécre kattintva rendezheti az adatokat..."));
    m_grid->setColumnWidth(0, 110);
    m_grid->setColumnWidth(1, 120);
    m_grid->setColumnWidth(2, 120);
    m_grid->setColumnWidth(3, 300);
    layout->addWidget(m_grid, 1);

    auto *actions = new QHBoxLayout;
    actions->addWidget(b.browse);
    actions->addWidget(b.print);
    actions->addWidget(b.putOnList);
    actions->addWidget(b.clearList);
    actions->addStretch();
    actions->addWidget(b.remove);
    actions->addWidget(b.modify);
    layout->addLayout(actions);
}

void SearchPanel::orderTabs(const Buttons &b)
{
    // Tab order as the fields stand, then the buttons, the grid last.
    setTabOrder(m_azonosito, m_telepules);
    setTabOrder(m_telepules, m_tipus);
    setTabOrder(m_tipus, m_artol);
    setTabOrder(m_artol, m_arig);
    setTabOrder(m_arig, b.search);
    setTabOrder(b.search, b.all);
    setTabOrder(b.all, b.browse);
    setTabOrder(b.browse, b.print);
    setTabOrder(b.print, b.putOnList);
    setTabOrder(b.putOnList, b.clearList);
    setTabOrder(b.clearList, b.remove);
    setTabOrder(b.remove, b.modify);
    setTabOrder(b.modify, m_grid);
}

void SearchPanel::connectButtons(const Buttons &b)
{
    // Both delete buttons are cancel buttons; Esc reaches the first, "Törlés".
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, b.remove, &QPushButton::click);

    connect(m_azonosito, &QLineEdit::textChanged, this, &SearchPanel::sAzonositoChange);
    connect(b.search, &QPushButton::clicked, this, &SearchPanel::BitBtn1Click);
    connect(m_azonosito, &QLineEdit::returnPressed, this, &SearchPanel::BitBtn1Click);
    connect(b.all, &QPushButton::clicked, this, &SearchPanel::BitBtn5Click);
    connect(m_grid, &CursorGrid::titleClicked, this, &SearchPanel::DBGrid1TitleClick);
    connect(m_grid, &CursorGrid::rowDoubleClicked, this, &SearchPanel::browseRequested);
    connect(b.browse, &QPushButton::clicked, this, &SearchPanel::browseRequested);
    connect(b.putOnList, &QPushButton::clicked, this,
            [this] { putOnPrintList(m_cursors.tEgyszeru); });
    connect(b.clearList, &QPushButton::clicked, this,
            [this] { NyomtatasiListaTorles(m_cursors.tEgyszeru); });
    connectRecordAction(b.modify, &SearchPanel::modifyRequested,
                        QStringLiteral("Nincs kiválaszott ingatlan, amit módosítani lehetne!"));
    connectRecordAction(b.remove, &SearchPanel::deleteRequested,
                        QStringLiteral("Nincs kiválaszott ingatlan, amit törölni lehetne!"));
    connectRecordAction(b.print, &SearchPanel::printRequested,
                        QStringLiteral("Nincs kiválaszott ingatlan, amit nyomtatni lehetne!"));
}

// The actions on one record answer an empty list here rather than in the window that listens.
void SearchPanel::connectRecordAction(QPushButton *button, void (SearchPanel::*request)(),
                                      const QString &nothingSelected)
{
    connect(button, &QPushButton::clicked, this, [this, request, nothingSelected] {
        if (hasRecord())
            emit(this->*request)();
        else
            showMessage(nothingSelected);
    });
}

bool SearchPanel::hasRecord() const
{
    return m_cursors.tEgyszeru.recordCount() > 0;
}

void SearchPanel::enter()
{
    Cursor &c = m_cursors.tEgyszeru;
    c.setFilterText(QString());
    c.setFiltered(false);
    NyomtatasiListaTorles(c);
    markSortColumn(2);
    c.setIndexName(QStringLiteral("iar"));
    c.first();
    m_grid->followCursor();
}

void SearchPanel::sAzonositoChange()
{
    const bool free = m_azonosito->text().isEmpty();
    m_telepules->setEnabled(free);
    m_tipus->setEnabled(free);
    m_artol->setEnabled(free);
    m_arig->setEnabled(free);
}

SearchFields SearchPanel::currentFields() const
{
    SearchFields fields;
    fields.identifier = m_azonosito->text();
    fields.settlement = m_telepules->currentText();
    fields.typeIndex = std::max(0, m_tipus->currentIndex());
    fields.typeText = m_tipus->currentText();
    fields.lower = m_artol->value();
    fields.upper = m_arig->value();
    return fields;
}

void SearchPanel::showFields(const SearchFields &fields)
{
    m_azonosito->setText(fields.identifier);
    m_telepules->setCurrentText(fields.settlement);
    m_tipus->setCurrentIndex(fields.typeIndex);
    m_artol->setValue(fields.lower);
    m_arig->setValue(fields.upper);
}

void SearchPanel::BitBtn1Click()
{
    Cursor &c = m_cursors.tEgyszeru;
    const QString previousFilter = c.filterText();
    const bool previouslyFiltered = c.filtered();

    // A bound still being typed counts as typed.
    m_artol->interpretText();
    m_arig->interpretText();
    if (m_azonosito->text().isEmpty()) {
        if (m_artol->value() == 0)
            m_artol->setValue(0);
        if (m_arig->value() == 0)
            m_arig->setValue(unboundedPrice);
    }
    const SearchFields fields = currentFields();
    c.setFilterText(searchFilter(fields));
    c.setFiltered(true);
    if (c.recordCount() <= 0) {
        showPlainMessage(QStringLiteral("Nincs a keresési feltételnek megfelelő találat!"), this);
        c.setFilterText(previousFilter);
        c.setFiltered(previouslyFiltered);
        showFields(m_remembered);
    }
    m_remembered = currentFields();
    c.first();
    m_grid->followCursor();
}

void SearchPanel::BitBtn5Click()
{
    m_cursors.tEgyszeru.setFilterText(QString());
    m_cursors.tEgyszeru.setFiltered(false);
    m_grid->followCursor();
}

void SearchPanel::markSortColumn(int column)
{
    for (int i = 0; i < 4; ++i)
        m_grid->cursorModel()->setTitleColor(i, i == column ? sortMark : QColor());
}

void SearchPanel::DBGrid1TitleClick(int column)
{
    if (column >= 4) {
        markSortColumn(-1);
        return;
    }
    markSortColumn(column);
    m_cursors.tEgyszeru.setIndexName(sortIndexes[column]);
}
