#pragma once

#include <QDialog>

class QLabel;

// The photo viewer: a 300 by 300 window onto the picture at its own size, from its top left
// corner, the way a stored photo fills it exactly.
class TfKepmegtekint : public QDialog
{
    Q_OBJECT
public:
    explicit TfKepmegtekint(QWidget *parent = nullptr);

    // Throws StoreError (Hungarian, naming the file) when the file is missing or not a JPEG.
    void loadPicture(const QString &path);
    QLabel *view() const { return m_view; }

private:
    QLabel *m_view;
};
