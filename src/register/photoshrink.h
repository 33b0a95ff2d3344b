#pragma once

#include "register/jpegcodec.h"

#include <QSize>
#include <QString>

// The stored copy of a photo: longer side at most this many pixels, baseline JPEG.
constexpr int storedPhotoSide = 300;
constexpr int storedPhotoQuality = 90;

// The size a w by h photo is stored at: a longer side above 300 becomes exactly 300, the other
// side keeps the proportion (rounded to the nearest pixel, a half to the even one); smaller
// photos keep their size.
QSize shrunkSize(QSize original, int maxSide = storedPhotoSide);

// Area-averaging resampler: every output pixel is the mean of the source area it covers, so
// fine detail turns into its average colour instead of aliasing. Only shrinks (or keeps) a side.
RgbImage resampleArea(const RgbImage &source, QSize size);

// The shrunk copy of a photo, written next to its destination under a temporary name and only
// put in place by place(). A store that must not leave half its photos behind prepares every
// copy first, and places them once nothing else can fail; a PendingPhoto dropped unplaced
// removes its temporary file. Failures throw StoreError with a Hungarian message naming the file.
class PendingPhoto
{
public:
    PendingPhoto(const QString &source, const QString &destination);
    ~PendingPhoto();
    PendingPhoto(PendingPhoto &&other) noexcept;
    PendingPhoto &operator=(PendingPhoto &&other) noexcept;
    PendingPhoto(const PendingPhoto &) = delete;
    PendingPhoto &operator=(const PendingPhoto &) = delete;

    // Renames the temporary over the destination in one step, so a reader sees either the old
    // photo or the new one, never a part. Source and destination may be the same file.
    void place();
    // Hands the temporary over to whoever puts it in place (after a commit, or at the next
    // start): it is no longer removed when this is dropped. Returns its path.
    QString release();
    const QString &destination() const { return m_destination; }
    QString temporaryName() const; // without its folder

private:
    void discard();

    QString m_temporary;
    QString m_destination;
};

// Shrinks `source` into `destination` (replacing it) as one step.
void shrinkCopy(const QString &source, const QString &destination);

// The picture with its longer side at most `maxSide`, decoded no larger than that needs.
RgbImage shrunkPicture(const QByteArray &sourceData, const QString &fileName,
                       int maxSide = storedPhotoSide);
// The stored form of a photo, without touching the disk.
QByteArray shrunkJpeg(const QByteArray &sourceData, const QString &fileName);
