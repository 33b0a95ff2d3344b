#pragma once

#include "print/printrun.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

// The print dialog: what to print (the current property, the print list or the property's
// buyers) and how, then "Nyomtatás" or "Nyomtatási kép" as many times as wanted. A fresh one is
// made at every opening, so it always starts from the defaults.
class TfValasztNyomtat : public QDialog
{
    Q_OBJECT
public:
    explicit TfValasztNyomtat(PrintReports &reports, QWidget *parent = nullptr);

    PrintChoice choice() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addChoices(QVBoxLayout *layout);
    QHBoxLayout *buildCopiesRow();
    void addButtons(QVBoxLayout *layout);
    void FormActivate();
    void targetChosen();
    void checkBoxTicked(QCheckBox *box);
    void MaskEdit1Change();
    void MaskEdit1Exit();
    void runSelection(Destination destination);

    PrintReports &m_reports;
    QRadioButton *m_radio1;
    QRadioButton *m_radio2;
    QRadioButton *m_radio3;
    QGroupBox *m_group;
    QCheckBox *m_megbizo; // CheckBox2
    QCheckBox *m_reszletes; // CheckBox1
    QCheckBox *m_archivalas; // CheckBox3
    QCheckBox *m_cimlista; // CheckBox4
    QCheckBox *m_apro; // CheckBox5
    QLineEdit *m_copies;
};

// "Nyomtatás..." on the search panel and "Nyomtatás" in the browse window: the print dialog for
// the register's view, or a message when the view is empty.
void openPrintDialog(PrintReports &reports, QWidget *parent = nullptr);

// "Adatlap nyomtatás" in the side menu: the two blank intake sheets straight to the printer.
void printBlankSheets(PrintReports &reports, QWidget *parent = nullptr);
