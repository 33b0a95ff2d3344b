#include "bench/generator.h"

#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "store/textformat.h"

#include <QRandomGenerator>

namespace generator {

const QList<Settlement> &settlements()
{
    static const QList<Settlement> list {
        {QStringLiteral("Budapest"), QStringLiteral("1051"), QStringLiteral("Pest")},
        {QStringLiteral("Budaörs"), QStringLiteral("2040"), QStringLiteral("Pest")},
        {QStringLiteral("Debrecen"), QStringLiteral("4024"), QStringLiteral("Hajdú-Bihar")},
        {QStringLiteral("Szeged"), QStringLiteral("6720"), QStringLiteral("Csongrád")},
        {QStringLiteral("Miskolc"), QStringLiteral("3525"), QStringLiteral("Borsod-Abaúj-Zemplén")},
        {QStringLiteral("Pécs"), QStringLiteral("7621"), QStringLiteral("Baranya")},
        {QStringLiteral("Győr"), QStringLiteral("9021"), QStringLiteral("Győr-Moson-Sopron")},
        {QStringLiteral("Nyíregyháza"), QStringLiteral("4400"),
         QStringLiteral("Szabolcs-Szatmár-Bereg")},
        {QStringLiteral("Kecskemét"), QStringLiteral("6000"), QStringLiteral("Bács-Kiskun")},
        {QStringLiteral("Székesfehérvár"), QStringLiteral("8000"), QStringLiteral("Fejér")},
        {QStringLiteral("Szombathely"), QStringLiteral("9700"), QStringLiteral("Vas")},
        {QStringLiteral("Szolnok"), QStringLiteral("5000"), QStringLiteral("Jász-Nagykun-Szolnok")},
        {QStringLiteral("Tatabánya"), QStringLiteral("2800"), QStringLiteral("Komárom-Esztergom")},
        {QStringLiteral("Kaposvár"), QStringLiteral("7400"), QStringLiteral("Somogy")},
        {QStringLiteral("Érd"), QStringLiteral("2030"), QStringLiteral("Pest")},
        {QStringLiteral("Veszprém"), QStringLiteral("8200"), QStringLiteral("Veszprém")},
        {QStringLiteral("Békéscsaba"), QStringLiteral("5600"), QStringLiteral("Békés")},
        {QStringLiteral("Zalaegerszeg"), QStringLiteral("8900"), QStringLiteral("Zala")},
        {QStringLiteral("Sopron"), QStringLiteral("9400"), QStringLiteral("Győr-Moson-Sopron")},
        {QStringLiteral("Eger"), QStringLiteral("3300"), QStringLiteral("Heves")},
        {QStringLiteral("Nagykanizsa"), QStringLiteral("8800"), QStringLiteral("Zala")},
        {QStringLiteral("Dunaújváros"), QStringLiteral("2400"), QStringLiteral("Fejér")},
        {QStringLiteral("Hódmezővásárhely"), QStringLiteral("6800"), QStringLiteral("Csongrád")},
        {QStringLiteral("Szekszárd"), QStringLiteral("7100"), QStringLiteral("Tolna")},
        {QStringLiteral("Salgótarján"), QStringLiteral("3100"), QStringLiteral("Nógrád")},
        {QStringLiteral("Őrbottyán"), QStringLiteral("2162"), QStringLiteral("Pest")},
        {QStringLiteral("Ócsa"), QStringLiteral("2364"), QStringLiteral("Pest")},
        {QStringLiteral("Üllő"), QStringLiteral("2225"), QStringLiteral("Pest")},
        {QStringLiteral("Siófok"), QStringLiteral("8600"), QStringLiteral("Somogy")},
        {QStringLiteral("Balatonfüred"), QStringLiteral("8230"), QStringLiteral("Veszprém")},
    };
    return list;
}

const QStringList &propertyTypes()
{
    static const QStringList list {QStringLiteral("Családi ház"), QStringLiteral("Lakás"),
                                   QStringLiteral("Panellakás"),  QStringLiteral("Sorház"),
                                   QStringLiteral("Ikerház"),     QStringLiteral("Telek"),
                                   QStringLiteral("Hétvégi ház"), QStringLiteral("Üzlethelyiség"),
                                   QStringLiteral("Iroda"),       QStringLiteral("Garázs"),
                                   QStringLiteral("Tanya"),       QStringLiteral("Nyaraló")};
    return list;
}

namespace {

const QStringList streets {
    QStringLiteral("Kossuth Lajos utca"),   QStringLiteral("Petőfi Sándor utca"),
    QStringLiteral("Rákóczi út"),           QStringLiteral("Széchenyi tér"),
    QStringLiteral("Ady Endre utca"),       QStringLiteral("Dózsa György út"),
    QStringLiteral("Árpád fejedelem útja"), QStringLiteral("Fő utca")};
const QStringList surnames {QStringLiteral("Nagy"),    QStringLiteral("Kovács"),
                            QStringLiteral("Tóth"),    QStringLiteral("Szabó"),
                            QStringLiteral("Horváth"), QStringLiteral("Varga"),
                            QStringLiteral("Kiss"),    QStringLiteral("Molnár"),
                            QStringLiteral("Németh"),  QStringLiteral("Farkas")};
const QStringList givenNames {QStringLiteral("István"), QStringLiteral("Éva"),
                              QStringLiteral("László"), QStringLiteral("Zsuzsanna"),
                              QStringLiteral("Gábor"),  QStringLiteral("Erzsébet"),
                              QStringLiteral("Ödön"),   QStringLiteral("Ágnes")};
const QStringList sentences {QStringLiteral("Csendes, zöldövezeti környezetben."),
                             QStringLiteral("Felújított fürdőszoba, új nyílászárók."),
                             QStringLiteral("Gázcirkó fűtés, alacsony rezsi."),
                             QStringLiteral("A tömegközlekedés kiválóan megközelíthető."),
                             QStringLiteral("Déli fekvésű, világos szobák, tágas terasz."),
                             QStringLiteral("Az ingatlan azonnal költözhető; tehermentes."),
                             QStringLiteral("Pince és padlástér tárolásra; ősfás kert.")};

template<typename List>
const auto &pick(QRandomGenerator &random, const List &list)
{
    return list.at(random.bounded(static_cast<int>(list.size())));
}

QString paragraph(QRandomGenerator &random, int lines)
{
    QStringList out;
    for (int i = 0; i < lines; ++i)
        out << pick(random, sentences);
    return out.join(QStringLiteral("\r\n"));
}

} // namespace

void generateRegister(Database &db, int n, quint32 seed)
{
    QRandomGenerator random(seed);
    Cursor c(db, tables::egyszeru, true);
    Database::Transaction unit(db);
    for (int i = 0; i < n; ++i) {
        const Settlement &place = pick(random, settlements());
        const int typeIndex = random.bounded(static_cast<int>(propertyTypes().size()));
        const double price = 1000000.0 * random.bounded(5, 250) + 10000.0 * random.bounded(0, 100);
        c.append();
        c.setValue(QStringLiteral("Azonosito"),
                   QStringLiteral("P-%1").arg(i + 1, 6, 10, QLatin1Char('0')));
        c.setValue(QStringLiteral("TipusId"), typeIndex);
        c.setValue(QStringLiteral("TipusText"), propertyTypes().at(typeIndex));
        c.setValue(QStringLiteral("MinimumAr"), price * 0.9);
        c.setValue(QStringLiteral("Ar"), price);
        c.setValue(QStringLiteral("EpitesEve"), random.bounded(1900, 2027));
        c.setValue(QStringLiteral("EpuletTerulet"), random.bounded(30, 400));
        c.setValue(QStringLiteral("TelekTerulet"), random.bounded(0, 3000));
        c.setValue(QStringLiteral("TelekTeruletMertek"), QStringLiteral("négyzetméter"));
        c.setValue(QStringLiteral("OsszesHelyseg"), random.bounded(1, 12));
        c.setValue(QStringLiteral("Szoba"), random.bounded(1, 6));
        c.setValue(QStringLiteral("Garazs"), random.bounded(0, 3));
        c.setValue(QStringLiteral("CimIrsz"), place.postcode);
        c.setValue(QStringLiteral("CimVaros"), place.name);
        c.setValue(QStringLiteral("CimMegye"), place.county);
        c.setValue(QStringLiteral("CimUtca"), pick(random, streets));
        c.setValue(QStringLiteral("CimHazszam"),
                   QString::number(random.bounded(1, 120)) + QLatin1Char('.'));
        c.setValue(QStringLiteral("Hrsz"), QString::number(random.bounded(100, 99999)));
        c.setValue(QStringLiteral("MegbizoNev"),
                   pick(random, surnames) + QLatin1Char(' ') + pick(random, givenNames));
        c.setValue(QStringLiteral("MegbizoIrsz"), place.postcode);
        c.setValue(QStringLiteral("MegbizoVaros"), place.name);
        c.setValue(QStringLiteral("MegbizoTelefon"),
                   QStringLiteral("+36 30 %1").arg(random.bounded(1000000, 9999999)));
        c.setValue(QStringLiteral("Apro"), random.bounded(2) == 0);
        c.setValue(QStringLiteral("Web"), random.bounded(4) != 0);
        c.setValue(QStringLiteral("Kulcs"), random.bounded(3) == 0);
        c.setValue(QStringLiteral("LeirasMagyar"), paragraph(random, 3 + random.bounded(4)));
        c.setValue(QStringLiteral("LeirasAngol"),
                   QStringLiteral("Quiet area.\r\nNewly renovated."));
        c.setValue(QStringLiteral("LeirasNemet"),
                   QStringLiteral("Ruhige Lage.\r\nFrisch renoviert."));
        c.setValue(QStringLiteral("LeirasApro"), paragraph(random, 1));
        c.setValue(QStringLiteral("Telepulestis"), true);
        c.setValue(
            QStringLiteral("Start"),
            textformat::timestampText(QDateTime(QDate(2026, 1, 1).addDays(i % 300), QTime(9, 30))));
        c.post();
    }
    unit.commit();
    db.exec(QStringLiteral("ANALYZE"));
}

} // namespace generator
