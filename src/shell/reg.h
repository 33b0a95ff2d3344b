#pragma once

#include "widgets/fieldbinder.h"

#include <QDialog>

class Cursor;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The settings window: the agency's data on one page, the terms of handing out an address on
// the other, each page saved by its own "Rögzít"; a third page tells which database this
// workstation works on and leads to the connection's own window. What was typed is never dropped
// unasked: leaving a page or closing the window with unsaved changes asks whether to store them.
class TfReg : public QDialog
{
    Q_OBJECT
public:
    TfReg(Cursor &tDefaults, QWidget *parent = nullptr);

    // Closing from the title bar or with Esc: unsaved changes are offered for storing first.
    void reject() override;

signals:
    // Page one was stored: the company name may have changed.
    void userDataStored();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createUserEdits();
    QPushButton *buildUserPage();
    QPushButton *buildTermsPage();
    void buildDatabasePage();
    void showDatabase();
    // The settings record as it is now, after another workstation stored it.
    void reloadClick();
    void connectPages(QPushButton *save1, QPushButton *save3);
    void FormActivate();
    bool BitBtn1Click();
    bool BitBtn3Click();
    void storeUserData();
    bool userDataChanged() const { return m_userBinder.values() != m_storedUserData; }
    bool termsChanged() const;
    void pageChanged(int page);

    Cursor &m_defaults;
    QTabWidget *m_pages;
    int m_shownPage = 0;
    // What the pages held when last loaded or stored.
    FieldValues m_storedUserData;
    QString m_storedTerms;
    FieldBinder m_userBinder;
    FieldBinder m_termsBinder;
    QLineEdit *m_edit1, *m_edit2, *m_edit5, *m_edit6, *m_edit3, *m_edit7, *m_edit8, *m_edit4;
    QComboBox *m_megye;
    QPlainTextEdit *m_elvitel;
    QLabel *m_database = nullptr;
    // The settings record's save count when the pages were loaded: a save over another
    // workstation's is refused.
    qint64 m_readVersion = -1;
};
