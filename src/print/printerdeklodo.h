#pragma once

class Cursor;
struct RegisterState;
class PrintCanvas;

// The buyers' list of the register's current property: the property at the top of every page,
// then everybody its address was handed to, numbered from 1, with the page number at the foot.
class TfPrintErdeklodo
{
public:
    TfPrintErdeklodo(RegisterState &cursors, Cursor &tErdeklodo);
    void paint(PrintCanvas &canvas);

private:
    RegisterState &m_c;
    Cursor &m_tErdeklodo;
};
