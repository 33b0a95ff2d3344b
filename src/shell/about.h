#pragma once

#include <QDialog>

class QPlainTextEdit;

// The about box; it shows the licence text of the data directory, read afresh at each opening.
class TfAbout : public QDialog
{
    Q_OBJECT
public:
    TfAbout(const QString &dataDir, QWidget *parent = nullptr);
    // Loads licence.txt; a file that cannot be read is reported, and the box opens all the same.
    void loadLicence();

private:
    QString m_dataDir;
    QPlainTextEdit *m_memo;
};
