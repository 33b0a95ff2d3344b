#pragma once

#include <QGroupBox>

class QLabel;
struct RegisterWindows;

// " Képek ": how many photos are picked (`Label100`) and `nKepValtoztat`, which opens the photo
// list. The store reads the count from here, so it is what the user last confirmed.
class PhotoGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit PhotoGroup(RegisterWindows &windows, QWidget *parent = nullptr);

    int count() const;
    void setCount(int count);

private:
    RegisterWindows &m_windows;
    QLabel *m_count;
};
