#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class CursorGrid;
class QCheckBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class QTabWidget;
struct RegisterState;

// The archive window `fArchivum`: the archived properties with their owners and data, and the
// deletion for good. Made for one use from the side menu. The archive is a record of what left
// the register, so its fields are shown, not edited.
class TfArchivum : public QDialog
{
    Q_OBJECT
public:
    explicit TfArchivum(RegisterState &cursors, QWidget *parent = nullptr);
    ~TfArchivum() override;

private:
    QWidget *simplePage();
    QWidget *internalPage();
    QLineEdit *shown(const QString &field);
    // Read-only boxes under their labels, one row each.
    void addShownRows(QFormLayout *form, const QList<QPair<QString, QString>> &rows);
    QCheckBox *shownCheck(const QString &caption, const QString &field);
    QPlainTextEdit *shownMemo(const QString &field);

    void DBGrid1Scroll(); // another archive record became the current one
    void BitBtn2Click();
    void bNaploClick();

    RegisterState &m_c;
    CursorGrid *m_grid;
    CursorGrid *m_owners = nullptr;
    QTabWidget *m_pages;
    QPushButton *m_naplo = nullptr;
    QList<QLineEdit *> m_fields;
    QList<QCheckBox *> m_checks;
    QList<QPlainTextEdit *> m_memos;
};
