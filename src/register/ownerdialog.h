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

    Cursor &m_tdTulaj;

private:
    QList<QLineEdit *> m_edits; // in the order of ownerFields
};
