#include "widgets/cursorgrid.h"

#include "store/cursor.h"

#include <QHeaderView>
#include <QTimer>

CursorGrid::CursorGrid(Cursor *cursor, QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent)
    , m_model(new CursorModel(cursor, std::move(columns), this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CursorGrid::titleClicked);
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowDoubleClicked();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || !current.isValid() || !this->cursor())
                    return;
                // What the check writes must not move the selection while it is being moved.
                m_syncing = true;
                const bool allowed = !m_moveCheck || m_moveCheck();
                if (allowed)
                    this->cursor()->moveTo(current.row());
                m_syncing = false;
                if (!allowed)
                    QTimer::singleShot(0, this, &CursorGrid::followCursor);
            });
    connect(cursor, &Cursor::currentChanged, this, [this] {
        if (!m_syncing)
            followCursor();
    });
    // A reset model loses its selection; put it back on the cursor's row once the view is
    // rebuilt.
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { QTimer::singleShot(0, this, &CursorGrid::followCursor); });
}

void CursorGrid::followCursor()
{
    Cursor *c = cursor();
    if (!c || m_syncing)
        return;
    m_syncing = true;
    const int row = c->isOpen() ? c->position() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
    }
    m_syncing = false;
}
