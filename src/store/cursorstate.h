#pragma once

#include "store/cursor.h"

// Remembers a cursor's filter text, filtering switch, open state and row, and puts them back
// when it goes out of scope: work that borrows a shared cursor (a print run, a list of every
// listed property) leaves it as it found it. The row comes back by its number in the view, as
// the user last saw it.
class CursorState
{
public:
    explicit CursorState(Cursor &cursor);
    ~CursorState();
    CursorState(const CursorState &) = delete;
    CursorState &operator=(const CursorState &) = delete;

    int row() const { return m_row; }

private:
    Cursor &m_cursor;
    bool m_open;
    QString m_filterText;
    bool m_filtered;
    int m_row;
};
