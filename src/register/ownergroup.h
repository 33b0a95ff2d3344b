#pragma once

#include <QGroupBox>

class Cursor;
class CursorGrid;
class QDialog;
struct RegisterWindows;

// The owners of the property being entered or modified: the grid `DBGrid3` over the working
// list and its three buttons. The new-property panel and the modify window each hold one.
class OwnerGroup : public QGroupBox
{
    Q_OBJECT
public:
    OwnerGroup(Cursor &tdTulaj, RegisterWindows &windows, QWidget *parent = nullptr);

    CursorGrid *grid() const { return m_grid; }

private:
    void add();
    void remove();
    void change();

    Cursor &m_tdTulaj;
    RegisterWindows &m_windows;
    CursorGrid *m_grid;
};
