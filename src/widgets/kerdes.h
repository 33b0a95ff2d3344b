#pragma once

#include <QDialog>

class QLabel;

// The question dialog: "OK" answers yes (Enter), "Mégsem" no (Esc); closing it by the frame
// answers neither, which every caller takes as no.
class TfKerdes : public QDialog
{
    Q_OBJECT
public:
    explicit TfKerdes(QWidget *parent = nullptr);
    void setText(const QString &text);

private:
    QLabel *m_uzenet;
};
