#pragma once

class Cursor;
class PrintCanvas;

// The second blank intake sheet: the rooms counted by kind, the kitchen, the situation, the
// levels and a box for remarks.
class TfAdatlap2
{
public:
    explicit TfAdatlap2(Cursor &tDefaults);
    void paint(PrintCanvas &canvas);

private:
    Cursor &m_tDefaults;
};
