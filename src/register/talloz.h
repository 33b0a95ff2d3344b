#pragma once

#include "widgets/fieldbinder.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

struct RegisterState;
struct RegisterWindows;
class Cursor;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class Record;

// The photo slots a property fills, as the browse window lists them: "1. kép" for `Kep1` and so
// on, only the filled ones, in slot order.
QStringList photoItems(const Record &property);
// The slot (1 to 4) an item of that list names, 0 for any other text.
int photoSlotOfItem(const QString &item);

// Read-only controls showing fields of a property's current record. There are no data-aware
// controls here, so the windows that show a record call fill() whenever it may have changed.
class BoundFields
{
public:
    BoundFields();

    QLineEdit *edit(QWidget *parent, const QString &objectName, const QString &field);
    QPlainTextEdit *memo(QWidget *parent, const QString &objectName, const QString &field);
    // A box the user may change, or one that only shows the field.
    enum class Check { Editable, Shown };
    QCheckBox *check(QWidget *parent, const QString &objectName, const QString &caption,
                     const QString &field, Check kind);
    struct Labelled
    {
        const char *label;
        const char *objectName;
        const char *field;
    };
    // A group of labelled edits, one under the other.
    QWidget *group(QWidget *parent, const QString &title, const QList<Labelled> &rows);
    // An empty view shows empty edits and unticked boxes.
    void fill(const Cursor &cursor) const;

private:
    FieldBinder m_binder;
};

// The browse window: one property of the current result list at a time, read-only but for its
// print flag, stepping the shared property cursor so the result grid follows.
class TfTallozas : public QDialog
{
    Q_OBJECT
public:
    // `openPrintDialog` shows the print selection window modally; it is called only while the
    // list holds a property.
    TfTallozas(RegisterState &cursors, RegisterWindows &windows,
               std::function<void()> openPrintDialog, QWidget *parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildData();
    QWidget *buildAddress();
    QWidget *buildDescriptions();
    QWidget *buildButtons();
    void refresh();
    // Stores a ticked or unticked "Nyomtatandó"; false when the table refused it.
    bool storePendingPrint();
    void step(bool forward);
    void bKepekClick();
    void bBelsoadatokClick();
    void bReszletesClick();
    void bNaploClick();
    void SpeedButton1Click();
    void DBCheckBox1Click(bool checked);

    RegisterState &m_cursors;
    Cursor &m_tEgyszeru;
    RegisterWindows &m_windows;
    std::function<void()> m_openPrintDialog;
    BoundFields m_bound;
    QCheckBox *m_print = nullptr;
    QComboBox *m_kepLista = nullptr;
    QPushButton *m_kepek = nullptr;
    QPushButton *m_reszletes = nullptr;
    QPushButton *m_naplo = nullptr;
};
