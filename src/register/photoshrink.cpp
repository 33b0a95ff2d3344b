#include "register/photoshrink.h"

#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

// numerator / denominator to the nearest whole number, a half to the even one; exact, so a
// side that falls on a half (600 by 401 gives 200.5) rounds the way the rule says.
qint64 divideRoundHalfEven(qint64 numerator, qint64 denominator)
{
    const qint64 quotient = numerator / denominator;
    const qint64 twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

struct Contribution
{
    int first = 0;
    std::vector<float> weights;
};

// For each output position along one axis, the source pixels it covers and by how much.
std::vector<Contribution> contributions(int sourceLength, int targetLength)
{
    std::vector<Contribution> result(static_cast<std::size_t>(targetLength));
    const double scale = double(sourceLength) / targetLength;
    for (int i = 0; i < targetLength; ++i) {
        const double from = i * scale;
        const double to = std::min(double(sourceLength), (i + 1) * scale);
        Contribution &c = result[std::size_t(i)];
        c.first = int(from);
        const int last = std::min(sourceLength - 1, int(std::ceil(to)) - 1);
        for (int j = c.first; j <= last; ++j) {
            const double overlap = std::min(to, j + 1.0) - std::max(from, double(j));
            c.weights.push_back(float(std::max(0.0, overlap) / scale));
        }
    }
    return result;
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// Qt names a full disk in English, if at all; the agency should read what to do about it.
QString writeFailure(const QString &folder, qint64 size, const QString &reason)
{
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < size + 4096)
        return QStringLiteral("nincs elég szabad hely a lemezen (%1). Szabadítson fel helyet, "
                              "majd próbálja újra.")
            .arg(QDir::toNativeSeparators(storage.rootPath()));
    return reason;
}

} // namespace

QSize shrunkSize(QSize original, int maxSide)
{
    const qint64 w = original.width();
    const qint64 h = original.height();
    qint64 longer = std::max(w, h);
    if (longer <= maxSide)
        return original;
    // Dividing by longer / 300 is multiplying by 300 / longer; done in whole numbers it stays
    // exact. A sliver of a picture keeps at least one pixel rather than vanishing.
    auto side = [longer, maxSide](qint64 length) {
        return int(std::max<qint64>(1, divideRoundHalfEven(length * maxSide, longer)));
    };
    return {side(w), side(h)};
}

RgbImage resampleArea(const RgbImage &source, QSize size)
{
    if (size.width() == source.width && size.height() == source.height)
        return source;
    const int w = size.width();
    const int h = size.height();
    const auto across = contributions(source.width, w);
    const auto down = contributions(source.height, h);

    // Across first: every source row shrinks to the target width.
    std::vector<float> rows(std::size_t(source.height) * w * 3);
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t *in = source.row(y);
        float *out = rows.data() + std::size_t(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            const Contribution &c = across[std::size_t(x)];
            float r = 0, g = 0, b = 0;
            const std::uint8_t *p = in + std::size_t(c.first) * 3;
            for (float weight : c.weights) {
                r += weight * p[0];
                g += weight * p[1];
                b += weight * p[2];
                p += 3;
            }
            float *pixel = out + std::size_t(x) * 3;
            pixel[0] = r;
            pixel[1] = g;
            pixel[2] = b;
        }
    }

    RgbImage result;
    result.width = w;
    result.height = h;
    result.pixels.resize(std::size_t(w) * h * 3);
    std::vector<float> sum(std::size_t(w) * 3);
    for (int y = 0; y < h; ++y) {
        const Contribution &c = down[std::size_t(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t k = 0; k < c.weights.size(); ++k) {
            const float *in = rows.data() + std::size_t(c.first + int(k)) * w * 3;
            const float weight = c.weights[k];
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i] += weight * in[i];
        }
        std::uint8_t *out = result.row(y);
        // Clamped to 0..255 afterwards, where truncating x + 0.5 rounds as lround would, without
        // its cost on every sample.
        for (std::size_t i = 0; i < sum.size(); ++i)
            out[i] = std::uint8_t(
                std::clamp(int(sum[i] + 0.5f), 0, 255)); // NOLINT(bugprone-incorrect-roundings)
    }
    return result;
}

RgbImage shrunkPicture(const QByteArray &sourceData, const QString &fileName, int maxSide)
{
    const QSize target = shrunkSize(jpeg::readHeader(sourceData, fileName).size, maxSide);
    return resampleArea(jpeg::decode(sourceData, fileName, target), target);
}

QByteArray shrunkJpeg(const QByteArray &sourceData, const QString &fileName)
{
    return jpeg::encode(shrunkPicture(sourceData, fileName), storedPhotoQuality);
}

PendingPhoto::PendingPhoto(const QString &source, const QString &destination)
    : m_destination(destination)
{
    const QString folder = folderOf(destination);
    if (!QFileInfo(folder).isDir())
        throw StoreError(
            QStringLiteral("A képek mappája (%1) nem létezik, a(z) \"%2\" kép nem menthető.")
                .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(destination)));
    QFile in(source);
    if (!in.exists())
        throw StoreError(
            QStringLiteral("A(z) \"%1\" kép nem található.").arg(QDir::toNativeSeparators(source)));
    if (!in.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("A(z) \"%1\" kép nem olvasható: %2")
                             .arg(QDir::toNativeSeparators(source), in.errorString()));
    const QByteArray shrunk = shrunkJpeg(in.readAll(), QDir::toNativeSeparators(source));
    in.close();

    QTemporaryFile out(folder + QStringLiteral("/.") + QFileInfo(destination).fileName() +
                       QStringLiteral(".XXXXXX"));
    out.setAutoRemove(false);
    const QString cannotWrite = QStringLiteral("A(z) \"%1\" kép nem írható: %2");
    if (!out.open())
        throw StoreError(cannotWrite.arg(QDir::toNativeSeparators(destination), out.errorString()));
    m_temporary = out.fileName();
    // Once its move is recorded a crash may put it in place at the next start, so it must be
    // whole on the disk before that, not just handed to the kernel.
    if (out.write(shrunk) != shrunk.size() || !out.flush() || ::fsync(out.handle()) != 0) {
        const QString why = writeFailure(folder, shrunk.size(), out.errorString());
        out.close();
        discard();
        throw StoreError(cannotWrite.arg(QDir::toNativeSeparators(destination), why));
    }
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                       QFileDevice::ReadOther);
    out.close();
}

PendingPhoto::~PendingPhoto()
{
    discard();
}

PendingPhoto::PendingPhoto(PendingPhoto &&other) noexcept
    : m_temporary(std::exchange(other.m_temporary, QString()))
    , m_destination(std::move(other.m_destination))
{ }

PendingPhoto &PendingPhoto::operator=(PendingPhoto &&other) noexcept
{
    if (this != &other) {
        discard();
        m_temporary = std::exchange(other.m_temporary, QString());
        m_destination = std::move(other.m_destination);
    }
    return *this;
}

void PendingPhoto::place()
{
    if (m_temporary.isEmpty())
        return;
    // rename(2) replaces the destination atomically; QFile::rename would refuse an existing one.
    if (std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(m_destination).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        discard();
        throw StoreError(QStringLiteral("A(z) \"%1\" kép nem írható: %2")
                             .arg(QDir::toNativeSeparators(m_destination), why));
    }
    m_temporary.clear();
}

QString PendingPhoto::temporaryName() const
{
    return QFileInfo(m_temporary).fileName();
}

QString PendingPhoto::release()
{
    return std::exchange(m_temporary, QString());
}

void PendingPhoto::discard()
{
    if (!m_temporary.isEmpty()) {
        QFile::remove(m_temporary);
        m_temporary.clear();
    }
}

void shrinkCopy(const QString &source, const QString &destination)
{
    PendingPhoto photo(source, destination);
    photo.place();
}
