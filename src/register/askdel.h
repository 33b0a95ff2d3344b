#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class RadioChoice;
struct MainCursors;

// The delete window `fDel` for the property selected on the search panel: archive it with a
// reason, or delete it outright. Made for one use; the window itself is the confirmation.
class TfDel : public QDialog
{
    Q_OBJECT
public:
    explicit TfDel(MainCursors &cursors, QWidget *parent = nullptr);

private:
    void dOkaClick();
    void dVeglegClick();
    void BitBtn1Click();

    MainCursors &m_c;
    RadioChoice *m_oka;
    QLineEdit *m_egyeb;
    QCheckBox *m_vegleg;
};
