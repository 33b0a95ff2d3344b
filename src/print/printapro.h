#pragma once

struct RegisterState;
class PrintCanvas;

// The classified-ad list: one framed box per property of the register's view, with its whole
// advertisement text, identifier and price.
class TfPrintApro
{
public:
    explicit TfPrintApro(RegisterState &cursors);
    void paint(PrintCanvas &canvas);

private:
    RegisterState &m_c;
};
