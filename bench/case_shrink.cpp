#include "bench/benchcase.h"

#include "register/jpegcodec.h"
#include "register/photoshrink.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <cmath>

// A picked camera photo (12 megapixels) shrink-copied into the Images folder, as storing a
// property does for each of its photos.
namespace {

// Smooth light, a few sharp edges, fine texture and sensor noise: enough detail that the
// decoder has as much to read as in a real photo of that size.
RgbImage cameraLikePicture(int width, int height)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * height * 3);
    std::uint32_t state = 12345;
    auto noise = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state % 25) - 12;
    };
    for (int y = 0; y < height; ++y) {
        std::uint8_t *row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const double sky = double(y) / height;
            const bool wall = (x / 500 + y / 400) % 3 == 0;
            const double texture = 18 * std::sin(x * 0.31) * std::cos(y * 0.27);
            int r = int(90 + 110 * sky + (wall ? 40 : 0) + texture);
            int g = int(120 + 60 * sky + texture);
            int b = int(200 - 90 * sky - (wall ? 50 : 0) + texture);
            r += noise();
            g += noise();
            b += noise();
            row[3 * x] = std::uint8_t(std::clamp(r, 0, 255));
            row[3 * x + 1] = std::uint8_t(std::clamp(g, 0, 255));
            row[3 * x + 2] = std::uint8_t(std::clamp(b, 0, 255));
        }
    }
    return image;
}

double psnr(const RgbImage &a, const RgbImage &b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const double d = double(a.pixels[i]) - double(b.pixels[i]);
        sum += d * d;
    }
    const double mse = sum / double(a.pixels.size());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

const BenchRegistrar registrar(QStringLiteral("shrink"), 0, 15, [](BenchRun &run) {
    const QString source = run.workDir + QStringLiteral("/DSC_0001.jpg");
    const QString images = run.workDir + QStringLiteral("/Images/");
    QDir().mkpath(images);
    const QByteArray camera = jpeg::encode(cameraLikePicture(4000, 3000), 92);
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly) || out.write(camera) != camera.size()) {
        run.fail(QStringLiteral("cannot write the source photo"));
        return;
    }
    out.close();
    run.setSize(QStringLiteral("4000x3000, %1 KiB -> 300x225").arg(camera.size() / 1024));

    const QString destination = images + QStringLiteral("1-1.jpg");
    try {
        for (int i = 0; i < run.runs; ++i)
            run.time([&] { shrinkCopy(source, destination); });

        const QByteArray stored = readAll(destination);
        const JpegHeader header = jpeg::readHeader(stored, destination);
        if (header.size != QSize(300, 225))
            run.fail(QStringLiteral("stored size %1x%2")
                         .arg(header.size.width())
                         .arg(header.size.height()));
        if (header.progressive)
            run.fail(QStringLiteral("stored photo is progressive"));
        // The quick path must look like the slow one: every pixel decoded, then area-averaged.
        const RgbImage reference = resampleArea(jpeg::decode(camera, source), QSize(300, 225));
        const double quality = psnr(jpeg::decode(stored, destination), reference);
        if (quality < 32)
            run.fail(QStringLiteral("differs from a full-resolution shrink: PSNR %1 dB")
                         .arg(quality, 0, 'f', 1));
    } catch (const StoreError &error) {
        run.fail(error.message());
    }
});

} // namespace
