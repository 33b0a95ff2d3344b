#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class RadioChoice;
struct RegisterState;

// The delete window `fDel` for the property selected on the search panel: archive it with a
// reason, or delete it outright. Made for one use; the window itself is the confirmation.
class TfDel : public QDialog
{
    Q_OBJECT
public:
    explicit TfDel(RegisterState &cursors, QWidget *parent = nullptr);

private:
    void dOkaClick();
    void dVeglegClick();
    void BitBtn1Click();

    RegisterState &m_c;
    RadioChoice *m_oka;
    QLineEdit *m_egyeb;
    QCheckBox *m_vegleg;
};
