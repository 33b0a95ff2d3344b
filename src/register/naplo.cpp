#include "register/naplo.h"

#include "store/textformat.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QStandardItem *shownItem(const QString &text)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

void showLog(const QString &identifier, const std::function<QList<changelog::Entry>()> &read,
             QWidget *parent)
{
    QList<changelog::Entry> entries;
    if (!guarded([&] { entries = read(); }))
        return;
    TfNaplo window(identifier, entries, parent);
    window.exec();
}

} // namespace

TfNaplo::TfNaplo(const QString &identifier, const QList<changelog::Entry> &entries, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"fNaplo"_s);
    setWindowTitle(u"Napló"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(u"Napló"_s));
    auto *property = new QLabel(u"Ingatlan: %1"_s.arg(identifier), this);
    property->setObjectName(u"lAzonosito"_s);
    layout->addWidget(property);
    buildGrid(entries);
    layout->addWidget(m_grid, 1);
    addCloseButton(this, layout);
    resize(860, 420);
}

void TfNaplo::buildGrid(const QList<changelog::Entry> &entries)
{
    auto *model = new QStandardItemModel(0, 5, this);
    model->setHorizontalHeaderLabels(
        {u"Időpont"_s, u"Munkaállomás"_s, u"Felhasználó"_s, u"Művelet"_s, u"Részletek"_s});
    for (const changelog::Entry &entry : entries) {
        model->appendRow({shownItem(textformat::timestampText(entry.when)),
                          shownItem(entry.workstation), shownItem(entry.user),
                          shownItem(entry.action),
                          shownItem(textformat::memoToEdit(entry.details))});
    }
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"DBGrid1"_s);
    m_grid->setModel(model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 150);
    m_grid->setColumnWidth(1, 130);
    m_grid->setColumnWidth(2, 110);
    m_grid->setColumnWidth(3, 130);
    if (!entries.isEmpty())
        m_grid->selectRow(0);
}

void TfNaplo::showOfProperty(Database &db, int propertyId, const QString &identifier,
                             QWidget *parent)
{
    showLog(
        identifier, [&] { return changelog::ofProperty(db, propertyId); }, parent);
}

void TfNaplo::showOfArchived(Database &db, int archiveId, const QString &identifier,
                             QWidget *parent)
{
    showLog(
        identifier, [&] { return changelog::ofArchived(db, archiveId); }, parent);
}
