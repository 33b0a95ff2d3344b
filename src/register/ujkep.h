#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QListWidget;
struct RegisterWindows;

// The photo list `fUjKep`: up to four picked JPEG files, in the order they become the
// property's photos. Picking copies nothing; the store does that. The list lives as long as the
// program and keeps its entries until the form that owns them empties it.
class TfUjKep : public QDialog
{
    Q_OBJECT
public:
    explicit TfUjKep(RegisterWindows &windows, QWidget *parent = nullptr);

    QStringList photos() const;
    // The count as `pKepszam` shows it, which the calling window copies into its `Label100`.
    QString countText() const;
    void emptyPhotos();
    void setPhotos(const QStringList &paths);
    // For a window that loads a property's stored photos; ignored past four entries.
    void addPhoto(const QString &path);

private:
    void add();
    void remove();
    void view();
    void showCount();

    RegisterWindows &m_windows;
    QListWidget *m_list;
    QLabel *m_count;
    QString m_lastFolder; // photos of one property tend to sit together
};
