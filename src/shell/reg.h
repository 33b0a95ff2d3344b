#pragma once

#include <QDialog>

class Cursor;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

// The settings window: the agency's data on one page, the terms of handing out an address on
// the other, each page saved by its own "Rögzít".
class TfReg : public QDialog
{
    Q_OBJECT
public:
    TfReg(Cursor &tDefaults, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void BitBtn1Click();
    void BitBtn3Click();

    Cursor &m_defaults;
    QTabWidget *m_pages;
    QLineEdit *m_edit1, *m_edit2, *m_edit5, *m_edit6, *m_edit3, *m_edit7, *m_edit8, *m_edit4;
    QComboBox *m_megye;
    QPlainTextEdit *m_elvitel;
};
