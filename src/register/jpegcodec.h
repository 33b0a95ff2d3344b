#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

// A decoded picture: 8-bit RGB, rows top to bottom, no padding.
struct RgbImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
    const std::uint8_t *row(int y) const { return pixels.data() + std::size_t(y) * width * 3; }
    std::uint8_t *row(int y) { return pixels.data() + std::size_t(y) * width * 3; }
};

struct JpegHeader
{
    QSize size;
    bool progressive = false;
    int components = 0;
};

// The photos go through libjpeg directly rather than Qt's image plugin: the stored copy must be
// baseline at a fixed quality, and decoding at a reduced DCT scale is what makes shrinking a
// camera picture quick. Every failure throws StoreError with a Hungarian message naming
// `fileName`.
namespace jpeg {

// Pictures whose header claims more pixels are refused before any decoding.
constexpr int maxMegapixels = 120;

// Damaged data (any of libjpeg's corrupt-data warnings) and pictures over the limit are refused
// too: the one would be stored with a grey band, the other would take gigabytes of memory.
JpegHeader readHeader(const QByteArray &data, const QString &fileName);

// Decodes the picture; with a non-empty `atLeast` the decoder may drop to the smallest DCT scale
// (n/8) whose result still covers that size in both directions, which is far cheaper than
// decoding every pixel and already filters out the detail a smaller copy cannot show.
RgbImage decode(const QByteArray &data, const QString &fileName, QSize atLeast = {});

// Only the top left `region` of the picture at full scale, the rest left undecoded: what a
// window showing a picture uncut at its own size needs.
RgbImage decodeTopLeft(const QByteArray &data, const QString &fileName, QSize region);

// Baseline (sequential) JPEG of the given quality, 4:2:0 as cameras and browsers expect.
QByteArray encode(const RgbImage &image, int quality, bool progressive = false);

// A copy for showing on screen.
QImage toQImage(const RgbImage &image);

} // namespace jpeg
