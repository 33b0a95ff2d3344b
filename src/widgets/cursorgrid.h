#pragma once

#include "widgets/cursormodel.h"

#include <QTableView>
#include <functional>

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
    // Asked before a row the user chose becomes the cursor's current record: false keeps the
    // cursor where it is (a pending change that could not be stored, say).
    void setMoveCheck(std::function<bool()> check) { m_moveCheck = std::move(check); }

signals:
    void titleClicked(int column);
    void rowDoubleClicked();

private:
    CursorModel *m_model;
    bool m_syncing = false;
    std::function<bool()> m_moveCheck;
};
