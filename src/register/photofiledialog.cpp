#include "register/photofiledialog.h"

#include "register/photoshrink.h"
#include "widgets/errorboundary.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

namespace {
constexpr int previewSide = 200;
}

PhotoFileDialog::PhotoFileDialog(QWidget *parent)
    : QFileDialog(parent, QStringLiteral("Pelmora - Kép tallozása"))
    , m_preview(new QLabel(this))
{
    setObjectName(QStringLiteral("pKep"));
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilter(QStringLiteral("JPEG Image File (*.jpg)"));

    m_preview->setObjectName(QStringLiteral("pKepElonezet"));
    m_preview->setFixedSize(previewSide + 4, previewSide + 4);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(m_preview, 0, grid->columnCount(), grid->rowCount(), 1);
    connect(this, &QFileDialog::currentChanged, this, &PhotoFileDialog::showPreview);
    // A name typed (or put there by a click) counts as picked too.
    if (auto *nameEdit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
        connect(nameEdit, &QLineEdit::textChanged, this, [this](const QString &name) {
            showPreview(name.isEmpty() ? QString() : directory().absoluteFilePath(name));
        });
    }
}

void PhotoFileDialog::showPreview(const QString &path)
{
    m_preview->clear();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;
    const bool shown = !failureOf([&] {
        m_preview->setPixmap(
            QPixmap::fromImage(jpeg::toQImage(shrunkPicture(file.readAll(), path, previewSide))));
    });
    // Not a picture the program can read: the store will say so if it is picked anyway.
    if (!shown)
        m_preview->setText(QStringLiteral("Nincs előnézet"));
}

QString askForPhoto(QWidget *parent, const QString &folder)
{
    PhotoFileDialog dialog(parent);
    dialog.setDirectory(folder.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)
                            : folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
