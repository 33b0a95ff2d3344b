#pragma once

#include <QDialog>

class QLabel;

// The message dialog: a heading, an icon, the message in `uzenet` and one "OK".
class TfUzenet : public QDialog
{
    Q_OBJECT
public:
    explicit TfUzenet(QWidget *parent = nullptr);
    void setText(const QString &text);

private:
    QLabel *m_uzenet;
};
