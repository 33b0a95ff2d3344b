#pragma once

#include <QString>

class QWidget;

// The two ways every window talks to the user: a message with "OK", and a question whose only
// yes is "OK". Both use the long-lived dialogs once the main window has made them, and a fresh
// one before that (start-up asks before those exist).
void showMessage(const QString &text);
bool askQuestion(const QString &text);

// The platform's plain message box with one OK button, for the few messages that use it.
void showPlainMessage(const QString &text, QWidget *parent = nullptr);

class TfUzenet;
class TfKerdes;
// The main window hands its long-lived dialogs over here; null takes them back.
void installDialogs(TfUzenet *message, TfKerdes *question);
