#include "print/adatlap1.h"
#include "print/adatlap2.h"
#include "print/printcanvas.h"
#include "print/printteljes.h"
#include "tests/print/printfixture.h"

#include <QImage>
#include <QtTest>

// Reports painted on an image instead of a printer: every mark inside the A4 area within the
// 10 mm margins, a new page a blank sheet, and the same page a printer would get.
class TestPrintCanvas : public QObject
{
    Q_OBJECT

private:
    static constexpr int dpi = 100;
    static constexpr double pxPerMm = dpi / 25.4;

    static QImage a4Image()
    {
        QImage image(qRound(210 * pxPerMm), qRound(297 * pxPerMm), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::red); // whatever the canvas does not paint stays visibly wrong
        return image;
    }

    struct Marks
    {
        int dark = 0;
        int red = 0;
        QRect bounds; // of the dark pixels
    };

    static Marks marksOf(const QImage &image)
    {
        Marks marks;
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = line[x];
                if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60) {
                    ++marks.red;
                } else if (qGray(pixel) < 128) {
                    ++marks.dark;
                    marks.bounds |= QRect(x, y, 1, 1);
                }
            }
        }
        return marks;
    }

    static QImage paintOn(const std::function<void(PrintCanvas &)> &paint, int passes = 1)
    {
        QImage image = a4Image();
        PrintCanvas canvas(&image);
        if (!canvas.isActive())
            return {};
        for (int i = 0; i < passes; ++i)
            paint(canvas);
        return canvas.finish() ? image : QImage();
    }

private slots:
    void sheetsStayInsideTheMargins()
    {
        PrintFixture f;
        f.setSettings({{"Name", "Ősi Ügynökség Kft."}, {"Varos", "Szeged"}});
        const int id = f.addProperty({{"Azonosito", "SZ-101"},
                                      {"TipusText", "Családi ház"},
                                      {"Ar", 25500000},
                                      {"CimVaros", "Szeged"},
                                      {"Reszletes", true}});
        f.addDetails(id, {{"TetoText", "cserép"}, {"Megjegyzes", "Első sor\r\nMásodik sor"}});
        TfAdatlap1 first(f.cursors.tDefaults);
        TfAdatlap2 second(f.cursors.tDefaults);
        TfPrintTeljes full(f.cursors);
        const QList<std::pair<const char *, std::function<void(PrintCanvas &)>>> reports {
            {"Adatlap (1/2)",
             [&](PrintCanvas &c) {
                 first.paint(c);
             }},
            {"Adatlap (2/2)",
             [&](PrintCanvas &c) {
                 second.paint(c);
             }},
            {"teljes adatlap", [&](PrintCanvas &c) {
                 full.paint(c, {true, true});
             }}};

        const double margin = 10 * pxPerMm;
        const QRectF printable(margin, margin, 190 * pxPerMm, 277 * pxPerMm);
        for (const auto &[name, paint] : reports) {
            const QImage image = paintOn(paint);
            QVERIFY2(!image.isNull(), name);
            const Marks marks = marksOf(image);
            // The whole sheet was cleared first, and something was drawn.
            QVERIFY2(marks.red == 0, name);
            QVERIFY2(marks.dark > 1000, name);
            // Nothing reaches into the margins (half a millimetre of antialiased edge allowed).
            QVERIFY2(marks.bounds.left() >= printable.left() - 2, name);
            QVERIFY2(marks.bounds.top() >= printable.top() - 2, name);
            QVERIFY2(marks.bounds.right() <= printable.right() + 2, name);
            QVERIFY2(marks.bounds.bottom() <= printable.bottom() + 2, name);
            // The page header's frame starts at the top margin and spans the width.
            QVERIFY2(marks.bounds.top() <= printable.top() + 2 * pxPerMm, name);
            QVERIFY2(marks.bounds.width() >= printable.width() - 2 * pxPerMm, name);
        }
    }

    void aNewPageIsABlankSheet()
    {
        PrintFixture f;
        TfAdatlap1 sheet(f.cursors.tDefaults);
        const auto paint = [&](PrintCanvas &c) {
            sheet.paint(c);
        };
        const QImage once = paintOn(paint);
        const QImage twice = paintOn(paint, 2);
        QVERIFY(!once.isNull() && !twice.isNull());
        QCOMPARE(twice.size(), once.size());
        // The second copy starts on a fresh page, so the image shows that page alone, the same
        // as the first: painted over the first it would differ everywhere (bolder antialiased
        // edges). Only the printing time in the header's left column may have moved on a second.
        QRect differing;
        for (int y = 0; y < once.height(); ++y)
            for (int x = 0; x < once.width(); ++x)
                if (once.pixel(x, y) != twice.pixel(x, y))
                    differing |= QRect(x, y, 1, 1);
        const QRectF printedAt(10 * pxPerMm, 10 * pxPerMm, 62 * pxPerMm, 25 * pxPerMm);
        QVERIFY2(differing.isNull() || printedAt.contains(differing),
                 qPrintable(QStringLiteral("pixels differ in %1,%2 %3x%4")
                                .arg(differing.x())
                                .arg(differing.y())
                                .arg(differing.width())
                                .arg(differing.height())));
        // The same report on a PDF printer: one page per pass.
        const QString text = f.render(paint, 2);
        QCOMPARE(pageCount(text), 2);
    }
};

QTEST_MAIN(TestPrintCanvas)
#include "test_printcanvas.moc"
