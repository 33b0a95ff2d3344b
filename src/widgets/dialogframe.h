#pragma once

#include <QString>

class QDialog;
class QLabel;
class QLayout;
class QVBoxLayout;
class QBoxLayout;

// The frame the small dialogs share: a bold heading with a drop shadow, an icon, a centred
// word-wrapped label named `uzenet`. Returns the label; the caller adds its buttons below.
QLabel *buildMessageFrame(QDialog *dialog, const QString &caption, const QString &heading,
                          bool question, QVBoxLayout **buttonsArea);

// A bold heading with a drop shadow, as the program's windows head their content.
QLabel *makeHeading(const QString &text, int pointSize = 14);

// A "Bezár" button (`BitBtn1`, the default) at the right under the dialog's content; it closes the
// dialog.
void addCloseButton(QDialog *dialog, QBoxLayout *layout);

// Fixes a dialog's size to what its layout needs and centres it on the desktop.
void fixAndCentre(QDialog *dialog);
