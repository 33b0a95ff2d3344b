#pragma once

#include <QDialog>
#include <QList>

class Cursor;
class QLineEdit;

// What both owner dialogs share: the eight edits of an owner over "Rögzít"/"Módosít" (Enter)
// and "Mégsem" (Esc), and confirming, which writes the edits into the working list. Each dialog
// says what its edits show and which record they go to.
class OwnerDialog : public QDialog
{
    Q_OBJECT
public:
    QLineEdit *edit(const char *field) const;
    void accept() override;
    // The dialogs are long-lived and serve the working list of whichever window opens them.
    void workOn(Cursor &list) { m_list = &list; }

protected:
    OwnerDialog(Cursor &tdTulaj, const QString &objectName, const QString &title,
                const QString &phoneLabel, const QString &confirmCaption, QWidget *parent);

    void showEvent(QShowEvent *event) override;
    // What the edits show each time the dialog comes up.
    virtual void fillEdits() = 0;
    // Appends a record or puts the current one into editing, for the edits to go into.
    virtual void startRecord() = 0;

    void readCurrent();
    void clearEdits();

    Cursor &list() const { return *m_list; }

private:
    Cursor *m_list;
    QList<QLineEdit *> m_edits; // in the order of ownerFields
};
