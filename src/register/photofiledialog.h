#pragma once

#include <QFileDialog>

class QLabel;

// The picture-open dialog `pKep`: JPEG files only, with a preview of the picked picture beside
// the file list (Qt's own dialog, since a native one cannot show it).
class PhotoFileDialog : public QFileDialog
{
    Q_OBJECT
public:
    explicit PhotoFileDialog(QWidget *parent = nullptr);

    QLabel *preview() const { return m_preview; }

private:
    void showPreview(const QString &path);

    QLabel *m_preview;
};

// Asks for one photo, starting in `folder` (the user's pictures when empty); empty when the user
// cancels.
QString askForPhoto(QWidget *parent, const QString &folder);
