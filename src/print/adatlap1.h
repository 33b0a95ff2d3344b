#pragma once

class Cursor;
class PrintCanvas;

// The first blank intake sheet: boxes for the simple data, the principal and the owner, and the
// option lists of the plot and the building, ticked by hand at the property.
class TfAdatlap1
{
public:
    explicit TfAdatlap1(Cursor &tDefaults);
    void paint(PrintCanvas &canvas);

private:
    Cursor &m_tDefaults;
};
