#pragma once

#include "widgets/cursormodel.h"

#include <QTableView>

// A read-only data grid over a cursor: whole-row selection, the selection always shown, and the
// selected row and the cursor's current record following each other.
class CursorGrid : public QTableView
{
    Q_OBJECT
public:
    CursorGrid(Cursor *cursor, QList<GridColumn> columns, QWidget *parent = nullptr);

    CursorModel *cursorModel() const { return m_model; }
    Cursor *cursor() const { return m_model->cursor(); }
    // Selects the cursor's current row in the grid.
    void followCursor();

signals:
    void titleClicked(int column);
    void rowDoubleClicked();

private:
    CursorModel *m_model;
    bool m_syncing = false;
};
