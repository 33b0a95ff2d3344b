#include "store/cursorstate.h"

CursorState::CursorState(Cursor &cursor)
    : m_cursor(cursor)
    , m_open(cursor.isOpen())
    , m_filterText(cursor.filterText())
    , m_filtered(cursor.filtered())
    , m_row(cursor.isOpen() ? cursor.position() : -1)
{ }

CursorState::~CursorState()
{
    try {
        m_cursor.setFilterText(m_filterText);
        m_cursor.setFiltered(m_filtered);
        if (!m_open) {
            m_cursor.close();
            return;
        }
        m_cursor.open();
        m_cursor.first();
        if (m_row > 0)
            m_cursor.moveTo(m_row);
    } catch (...) {
        // The filter was valid when it was remembered; a table that fails now has already been
        // reported by the operation that failed.
    }
}
