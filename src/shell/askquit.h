#pragma once

#include <QDialog>

// "Valóban ki szeretne lépni a programból?" with "Igen" and "Nem" (the default).
class TfQuit : public QDialog
{
    Q_OBJECT
public:
    explicit TfQuit(QWidget *parent = nullptr);
};
