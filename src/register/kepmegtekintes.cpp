#include "register/kepmegtekintes.h"

#include "register/jpegcodec.h"
#include "register/photoshrink.h"
#include "store/storeerror.h"
#include "widgets/dialogframe.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfKepmegtekint::TfKepmegtekint(QWidget *parent)
    : QDialog(parent)
    , m_view(new QLabel(this))
{
    setObjectName(QStringLiteral("fKepmegtekint"));
    setWindowTitle(QStringLiteral("Pelmora - Kép megtekintése"));
    auto *layout = new QVBoxLayout(this);

    m_view->setObjectName(QStringLiteral("kKep"));
    m_view->setFrameShape(QFrame::Box);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int frame = 2 * m_view->frameWidth();
    m_view->setFixedSize(storedPhotoSide + frame, storedPhotoSide + frame);
    layout->addWidget(m_view, 0, Qt::AlignHCenter);

    addCloseButton(this, layout);
    fixAndCentre(this);
}

void TfKepmegtekint::loadPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("A(z) \"%1\" kép nem található vagy nem olvasható.")
                             .arg(QDir::toNativeSeparators(path)));
    // Only what the window can show is decoded; the rest is cut off, not scaled.
    m_view->setPixmap(QPixmap::fromImage(jpeg::toQImage(jpeg::decodeTopLeft(
        file.readAll(), QDir::toNativeSeparators(path), QSize(storedPhotoSide, storedPhotoSide)))));
}
