#pragma once

#include <QStringList>

// The nineteen counties, in the order every county list offers them.
inline QStringList hungarianCounties()
{
    return {QStringLiteral("Bács-Kiskun"),
            QStringLiteral("Baranya"),
            QStringLiteral("Békés"),
            QStringLiteral("Borsod-Abaúj-Zemplén"),
            QStringLiteral("Csongrád"),
            QStringLiteral("Fejér"),
            QStringLiteral("Győr-Moson-Sopron"),
            QStringLiteral("Hajdú-Bihar"),
            QStringLiteral("Heves"),
            QStringLiteral("Jász-Nagykun-Szolnok"),
            QStringLiteral("Komárom-Esztergom"),
            QStringLiteral("Nógrád"),
            QStringLiteral("Pest"),
            QStringLiteral("Somogy"),
            QStringLiteral("Szabolcs-Szatmár-Bereg"),
            QStringLiteral("Tolna"),
            QStringLiteral("Vas"),
            QStringLiteral("Veszprém"),
            QStringLiteral("Zala")};
}
