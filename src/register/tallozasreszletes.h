#pragma once

#include <QDialog>

struct RegisterState;
class DetailedDescription;
class QLabel;

// The current property's detailed description, shown in the browse wording. Nothing here is
// stored back: whatever is changed in the controls goes when the window closes.
class TfTallozreszletes : public QDialog
{
    Q_OBJECT
public:
    explicit TfTallozreszletes(RegisterState &cursors, QWidget *parent = nullptr);

    DetailedDescription *description() const { return m_description; }

private:
    void load(RegisterState &cursors);

    QLabel *m_azonosito;
    DetailedDescription *m_description;
};
