#pragma once

class QWidget;

// The control takes the mouse wheel only while it has the focus (clicked or tabbed into), so a
// wheel turned to scroll a form past it scrolls the form and leaves its value alone.
void takeWheelOnlyWithFocus(QWidget *control);
