#pragma once

#include "register/jpegcodec.h"

#include <QFile>
#include <QString>
#include <functional>

// Pictures for the photo tests, written as real JPEG files.
namespace jpegfiles {

using Painter = std::function<void(int x, int y, std::uint8_t *rgb)>;

inline RgbImage paint(int width, int height, const Painter &painter)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            painter(x, y, image.row(y) + 3 * x);
    }
    return image;
}

inline Painter solid(int r, int g, int b)
{
    return [=](int, int, std::uint8_t *rgb) {
        rgb[0] = std::uint8_t(r);
        rgb[1] = std::uint8_t(g);
        rgb[2] = std::uint8_t(b);
    };
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool writeJpeg(const QString &path, int width, int height,
                      const Painter &painter = solid(90, 140, 200), bool progressive = true)
{
    return write(path, jpeg::encode(paint(width, height, painter), 95, progressive));
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace jpegfiles
