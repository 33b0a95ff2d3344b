#pragma once

#include <QDialog>
#include <QList>

class Cursor;
class QLineEdit;

// The layout both owner dialogs share: the eight edits of an owner over "Rögzít"/"Módosít"
// (Enter) and "Mégsem" (Esc). What showing and confirming do is up to each dialog.
class OwnerDialog : public QDialog
{
    Q_OBJECT
public:
    QLineEdit *edit(const char *field) const;

protected:
    OwnerDialog(Cursor &tdTulaj, const QString &objectName, const QString &title,
                const QString &phoneLabel, const QString &confirmCaption, QWidget *parent);

    // Copies the edits into the working list's current record (appended or being edited) and posts.
    void writeCurrent();
    void readCurrent();
    void clearEdits();

    Cursor &m_tdTulaj;

private:
    QList<QLineEdit *> m_edits; // in the order of ownerFields
};
