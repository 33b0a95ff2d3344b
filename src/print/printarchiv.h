#pragma once

struct RegisterState;
class PrintCanvas;

// The archive sheet of the register's current property: a paper record with the minimum price,
// the principal and every owner. Always complete and always one copy.
class TfPrintArchiv
{
public:
    explicit TfPrintArchiv(RegisterState &cursors);
    void paint(PrintCanvas &canvas);

private:
    RegisterState &m_c;
};
