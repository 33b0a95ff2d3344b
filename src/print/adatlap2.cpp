#include "print/adatlap2.h"

#include "print/blankform.h"
#include "print/sheetkit.h"

using blankform::Box;

TfAdatlap2::TfAdatlap2(Cursor &tDefaults)
    : m_tDefaults(tDefaults)
{ }

void TfAdatlap2::paint(PrintCanvas &canvas)
{
    Report report(canvas, CompanyHeader::read(m_tDefaults),
                  {QStringLiteral("Adatlap (2/2)"), {}, {}, {}});
    report.begin();
    const QString darab = QStringLiteral("darab");
    auto counts = [&](const QStringList &labels) {
        QList<Box> row;
        for (const QString &label : labels)
            row.append({label, darab});
        report.add(blankform::boxes(report, row, 3));
    };
    counts({QStringLiteral("Összes helység:"), QStringLiteral("Szobák száma"),
            QStringLiteral("Félszoba:")});
    counts({QStringLiteral("Nappali:"), QStringLiteral("Hall:"), QStringLiteral("Étkező:")});
    counts({QStringLiteral("Terasz:"), QStringLiteral("Fürdőszoba:"), QStringLiteral("WC:")});
    counts({QStringLiteral("Kamra"), QStringLiteral("Tároló:"), QStringLiteral("Pince:")});
    counts({QStringLiteral("Melléképület:"), QStringLiteral("Szuterén:")});
    counts({QStringLiteral("Garázsok:"), QStringLiteral("Garázs férőhely:")});
    counts({QStringLiteral("Konyha:")});
    report.add(blankform::boxes(
        report, {{QStringLiteral("Egyéb:"), darab}, {QStringLiteral("mégpedig:"), {}}}, 2));
    report.addSpace(2);
    report.add(sheet::labelledSquare(report, QStringLiteral("A WC egybe van a fürdőszobával:")));
    report.addSpace(2);
    report.add(
        blankform::groupColumns(report,
                                {{{QStringLiteral("Konyha típusa:"),
                                   {QStringLiteral("hagyományos"), QStringLiteral("főzőfülke"),
                                    QStringLiteral("amerikai"), QStringLiteral("egyéb")},
                                   4}},
                                 {{QStringLiteral("Elhelyezkedés:"),
                                   {QStringLiteral("főút mellett"), QStringLiteral("panoráma"),
                                    QStringLiteral("vízparton")},
                                   3}}},
                                {50, 50}));
    report.addSpace(2);
    report.add(blankform::boxes(
        report,
        {{QStringLiteral("Szintek száma:"), darab}, {QStringLiteral("Ebből lakható:"), darab}}, 3));
    report.addSpace(3);
    report.add(blankform::largeBoxes(report, {QStringLiteral("Megjegyzés:")}, 70));
    report.finish();
}
