#pragma once

#include <QString>

class QWidget;

// Types text into a widget key by key, as a user would; unlike QTest::keyClicks it also types
// the Hungarian letters (á, ő, ű, ...).
void typeText(QWidget *widget, const QString &text);
// Selects everything in a line edit (or the edit of a combo box) and types the text over it.
void retypeText(QWidget *widget, const QString &text);
