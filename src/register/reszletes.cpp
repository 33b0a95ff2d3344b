#include "register/reszletes.h"

#include "register/optionlists.h"
#include "store/cursor.h"
#include "store/record.h"
#include "store/textformat.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QStringList options(std::initializer_list<const char *> captions)
{
    QStringList list;
    for (const char *caption : captions)
        list << QString::fromUtf8(caption);
    return list;
}

} // namespace

DetailedDescription::DetailedDescription(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);

    addPlotAndBuildingGroups(layout);
    addFinishingGroups(layout);
    addRoomsAndSiteGroups(layout);

    chainTabOrder();
    clear();
}

void DetailedDescription::addPlotAndBuildingGroups(QVBoxLayout *layout)
{
    m_alak = new RadioChoice(u"rAlak"_s, u" Telek alakja "_s,
                             options({"négyzet", "téglalap", "trapéz", "L alak", "T alak",
                                      "szabálytalan", "háromszög", "egyéb", "nincs"}),
                             3, this);
    m_tabOrder << m_alak;
    layout->addWidget(m_alak);

    layout->addWidget(listGroup(
        u" Falak anyaga"_s, u"rFalakAnyaga"_s,
        options({"tégla", "falazó elem", "panel", "beton", "fémszerkezet", "fa", "kő",
                 "könnyűszerkezet", "vályogtégla", "vegyes", "tömés", "szerelt szakipari"}),
        2, u"FalakAnyagaId"_s, u"FalakAnyagaText"_s));

    m_komfort = new RadioChoice(
        u"rKomfort"_s, u" Komfort "_s,
        options({"összkomfortos", "komfortos", "félkomfortos", "komfort nélküli", "luxus"}), 3,
        this);
    m_tabOrder << m_komfort;
    layout->addWidget(m_komfort);

    layout->addWidget(heatingGroup());
    layout->addWidget(listGroup(
        u" Telek állaga"_s, u"rTelekAllag"_s,
        options({"rendezett", "parkosított", "elhanyagolt", "részben rendezett", "egyéb"}), 2,
        u"TelekAllagId"_s, u"TelekAllagText"_s));
    layout->addWidget(listGroup(u" Udvar "_s, u"rUdvar"_s,
                                options({"nincs", "füvesített", "parkosított", "konyhakert",
                                         "gyümölcsös", "szilárd burkolat"}),
                                3, u"UdvarId"_s, u"UdvarText"_s));
    layout->addWidget(listGroup(u" Parkolás "_s, u"rParkolas"_s,
                                options({"garázs", "beálló", "nincs", "egyéb"}), 2, u"ParkolasId"_s,
                                u"ParkolasText"_s));
    layout->addWidget(listGroup(
        u" Közművek "_s, u"rKozmuvek"_s,
        options({"vezetékes víz", "kúti víz", "ciszterna", "villany", "vezetékes gáz",
                 "tartályos gáz", "csatorna", "ülepítő", "telefon", "kábel TV", "telefonközpont"}),
        3, u"KozmuvekId"_s, u"KozmuvekText"_s));
}

void DetailedDescription::addFinishingGroups(QVBoxLayout *layout)
{
    layout->addWidget(listWithOtherGroup(
        u" Tető "_s, u"rTeto"_s,
        options({"cserép", "pala", "hullámpala", "zsindely", "bitumenes zsindely", "egyéb:"}),
        u"TetoId"_s, u"TetoText"_s, u"rTetoEgyeb"_s, u"TetoEgyeb"_s));
    layout->addWidget(listWithOtherGroup(
        u" Felszereltség "_s, u"rFelszereltseg"_s,
        options({"medence", "szauna", "jacuzzi", "bútorozott", "részben bútorozott",
                 "konyhai bútorokkal", "konyhai berendezésekkel", "világítótestekkel", "egyéb:"}),
        u"FelszereltsegId"_s, u"FelszereltsegText"_s, u"rFelszereltsegEgyeb"_s,
        u"FelszereltsegEgyeb"_s));
    layout->addWidget(listWithOtherGroup(
        u" Burkolat "_s, u"rBurkolat"_s,
        options({"parketta", "járólap", "kő", "műkő", "szőnyegpadló", "pvc", "linóleum", "beton",
                 "egyéb:"}),
        u"BurkolatId"_s, u"BurkolatText"_s, u"rBurkolatEgyeb"_s, u"BurkolatEgyeb"_s));
}

void DetailedDescription::addRoomsAndSiteGroups(QVBoxLayout *layout)
{
    layout->addWidget(roomsGroup());
    layout->addWidget(levelsGroup());
    m_location = listGroup(u" Elhelyezkedés"_s, u"rElhelyezkedes"_s,
                           options({"főút mellett", "vízparton", "panoráma"}), 2,
                           u"ElhelyezkedesId"_s, u"ElhelyezkedesText"_s);
    layout->addWidget(m_location);
    layout->addWidget(listGroup(u" Övezet "_s, u"rOvezet"_s,
                                options({"lakó", "belvárosi", "zöldövezeti", "üdülő", "vegyes",
                                         "zárt kert", "külterület", "ipari", "kereskedelmi"}),
                                3, u"OvezetId"_s, u"OvezetText"_s));
    layout->addWidget(listGroup(u" Fekvés "_s, u"rFekves"_s,
                                options({"déli", "dél-keleti", "keleti", "észak-nyugati", "nyugati",
                                         "dél-nyugati", "észak-keleti", "északi"}),
                                3, u"FekvesId"_s, u"FekvesText"_s));
    layout->addWidget(
        listGroup(u" Állag "_s, u"rAllag"_s,
                  options({"újszerű", "elfogadható", "felújítandó", "befejezetlen", "egyéb"}), 3,
                  u"AllagId"_s, u"AllagText"_s));
    layout->addWidget(remarkGroup());
}

CheckList *DetailedDescription::addList(QWidget *parent, const QString &name,
                                        const QStringList &captions, int columns,
                                        const QString &idField, const QString &textField)
{
    auto *list = new CheckList(name, captions, columns, parent);
    m_lists.append({list, idField, textField});
    for (QCheckBox *box : list->options())
        m_tabOrder << box;
    return list;
}

NumberEdit *DetailedDescription::addCounter(QWidget *parent, const QString &name,
                                            const QString &field)
{
    NumberEdit *edit = makeCounter(name, parent);
    m_counters.append({edit, field});
    m_tabOrder << edit;
    return edit;
}

QLineEdit *DetailedDescription::addText(QWidget *parent, const QString &name, const QString &field)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    m_texts.append({edit, field});
    m_tabOrder << edit;
    return edit;
}

QGroupBox *DetailedDescription::listGroup(const QString &title, const QString &name,
                                          const QStringList &captions, int columns,
                                          const QString &idField, const QString &textField)
{
    auto *group = new QGroupBox(title, this);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(addList(group, name, captions, columns, idField, textField));
    return group;
}

QGroupBox *DetailedDescription::listWithOtherGroup(const QString &title, const QString &name,
                                                   const QStringList &captions,
                                                   const QString &idField, const QString &textField,
                                                   const QString &otherName,
                                                   const QString &otherField)
{
    QGroupBox *group = listGroup(title, name, captions, 2, idField, textField);
    group->layout()->addWidget(addText(group, otherName, otherField));
    return group;
}

QGroupBox *DetailedDescription::heatingGroup()
{
    auto *group = new QGroupBox(u" Fűtés "_s, this);
    auto *grid = new QGridLayout(group);
    auto addRow = [&](const char *label, const char *name, const QStringList &captions,
                      const char *idField, const char *textField) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QString::fromUtf8(label), group), row, 0, Qt::AlignTop);
        grid->addWidget(addList(group, QString::fromUtf8(name), captions, 2,
                                QString::fromUtf8(idField), QString::fromUtf8(textField)),
                        row, 1);
    };
    addRow("Típusa:", "rFutesTipus",
           options({"hagyományos", "gáz", "távfűtés", "cirko", "központi", "elektromos", "nincs",
                    "egyéb"}),
           "FutesTipusId", "FutesTipusText");
    addRow("Módja:", "rFutesModja",
           options({"padló", "radiátor", "kandalló", "cserépkályha", "konvektor", "egyéb"}),
           "FutesModjaId", "FutesModjaText");
    addRow("Fűtőanyag:", "rFutoanyag",
           options({"vezetékes gáz", "tartályos gáz", "szén-fa", "vegyes", "olaj", "villany",
                    "nincs", "egyéb"}),
           "FutoanyagId", "FutoAnyagText");
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox *DetailedDescription::roomsGroup()
{
    m_rooms = new QGroupBox(u" Helységek "_s, this);
    auto *grid = new QGridLayout(m_rooms);
    // Two label-and-counter pairs to a row; the kitchen types and the free text take a row each.
    int slot = 0;
    auto place = [&](QLabel *label, QWidget *control, bool wholeRow = false) {
        if (wholeRow && slot % 2)
            ++slot;
        const int row = slot / 2;
        const int column = (slot % 2) * 2;
        grid->addWidget(label, row, column, wholeRow ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(control, row, column + 1, 1, wholeRow ? 3 : 1);
        slot += wholeRow ? 2 : 1;
        return label;
    };
    auto counter = [&](const char *label, const char *name, const char *field) {
        return place(new QLabel(QString::fromUtf8(label), m_rooms),
                     addCounter(m_rooms, QString::fromUtf8(name), QString::fromUtf8(field)));
    };
    m_totalRoomsLabel = counter("Össz helyiségek száma:", "rOsszhelyseg", "OsszHelyseg");
    counter("Szoba:", "rSzoba", "Szoba");
    counter("Félszoba:", "rFelszoba", "Felszoba");
    counter("Nappali:", "rNappali", "Nappali");
    counter("Konyha:", "rKonyha", "Konyha");
    place(new QLabel(u"Konyha típusa:"_s, m_rooms),
          addList(m_rooms, u"rKonyhaTipus"_s,
                  options({"hagyományos", "amerikai", "főzőfülke", "egyéb"}), 2, u"KonyhaId"_s,
                  u"KonyhaText"_s),
          true);
    counter("Hall:", "rHall", "Hall");
    counter("Étkező:", "rEtkezo", "Etkezo");
    m_terraceLabel = counter("Terasz:", "rTerasz", "Terasz");
    counter("Fürdőszoba:", "rFurdoszoba", "Furdoszoba");
    counter("WC:", "rWc", "Wc");
    counter("Kamra:", "rKamra", "Kamra");
    counter("Tároló:", "rTarolo", "Tarolo");
    counter("Pince:", "rPince", "Pince");
    counter("Melléképület:", "rMellekepulet", "Mellekepulet");
    counter("Szuterén:", "rSzuterin", "Szuterin");
    counter("Garázs:", "rGarazs", "Garazs");
    counter("Garázs férőhely:", "rGarazsFerohely", "GarazsFerohely");
    counter("Egyéb:", "rEgyeb", "Egyeb");
    place(new QLabel(u"mégpedig:"_s, m_rooms), addText(m_rooms, u"rEgyebText"_s, u"EgyebText"_s),
          true);

    m_wcFurdo = new QCheckBox(u"A WC egybe van a fürdőszobával"_s, m_rooms);
    m_wcFurdo->setObjectName(u"rWcFurdo"_s);
    m_tabOrder << m_wcFurdo;
    grid->addWidget(m_wcFurdo, grid->rowCount(), 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return m_rooms;
}

QGroupBox *DetailedDescription::levelsGroup()
{
    auto *group = new QGroupBox(u" Szintek "_s, this);
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel(u"Száma:"_s, group), 0, 0);
    grid->addWidget(addCounter(group, u"rSzintekszama"_s, u"Szintekszama"_s), 0, 1);
    grid->addWidget(new QLabel(u"Ebből lakható:"_s, group), 0, 2);
    grid->addWidget(addCounter(group, u"rLakhatoSzint"_s, u"LakhatoSzint"_s), 0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

QGroupBox *DetailedDescription::remarkGroup()
{
    auto *group = new QGroupBox(u" Megjegyzés "_s, this);
    auto *layout = new QVBoxLayout(group);
    m_megjegyzes = new QPlainTextEdit(group);
    m_megjegyzes->setObjectName(u"rMegjegyzes"_s);
    m_megjegyzes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_megjegyzes->setTabChangesFocus(true);
    m_megjegyzes->setMinimumHeight(100);
    m_tabOrder << m_megjegyzes;
    layout->addWidget(m_megjegyzes);
    return group;
}

void DetailedDescription::chainTabOrder()
{
    for (int i = 1; i < m_tabOrder.size(); ++i)
        QWidget::setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

void DetailedDescription::clear()
{
    m_alak->setIndex(0);
    m_komfort->setIndex(0);
    for (const ListField &list : std::as_const(m_lists))
        list.list->tickFrom(QStringLiteral("00000000000000"));
    for (const TextField &text : std::as_const(m_texts))
        text.edit->clear();
    for (const CounterField &counter : std::as_const(m_counters))
        counter.edit->setValue(0);
    m_wcFurdo->setChecked(false);
    m_megjegyzes->clear();
}

QVariantMap DetailedDescription::values() const
{
    QVariantMap values;
    values.insert(u"AlakId"_s, m_alak->index());
    values.insert(u"AlakText"_s, m_alak->caption());
    values.insert(u"KomfortId"_s, m_komfort->index());
    values.insert(u"KomfortText"_s, m_komfort->caption());
    for (const ListField &list : m_lists) {
        values.insert(list.idField, list.list->flagString());
        values.insert(list.textField, list.list->captionList());
    }
    for (const TextField &text : m_texts)
        values.insert(text.field, text.edit->text());
    for (const CounterField &counter : m_counters)
        values.insert(counter.field, counter.edit->wholeValue());
    values.insert(u"Megjegyzes"_s, textformat::memoFromEdit(m_megjegyzes->toPlainText()));
    values.insert(u"WcFurdo"_s, m_wcFurdo->isChecked());
    return values;
}

void DetailedDescription::writeTo(Cursor &reszletes) const
{
    const QVariantMap fields = values();
    for (auto field = fields.cbegin(); field != fields.cend(); ++field)
        reszletes.setValue(field.key(), field.value());
}

void DetailedDescription::loadFrom(const Record &reszletes)
{
    m_alak->setIndex(reszletes.integer(u"AlakId"_s));
    m_komfort->setIndex(reszletes.integer(u"KomfortId"_s));
    for (const ListField &list : std::as_const(m_lists))
        list.list->tickFrom(reszletes.text(list.idField));
    for (const TextField &text : std::as_const(m_texts))
        text.edit->setText(reszletes.text(text.field));
    for (const CounterField &counter : std::as_const(m_counters))
        counter.edit->setValue(reszletes.integer(counter.field));
    m_wcFurdo->setChecked(reszletes.boolean(u"WcFurdo"_s));
    m_megjegyzes->setPlainText(textformat::memoToEdit(reszletes.text(u"Megjegyzes"_s)));
}

void DetailedDescription::useBrowseCaptions()
{
    m_alak->setTitle(u" Ingatlan alakja "_s);
    m_rooms->setTitle(u" Helyiségek "_s);
    m_totalRoomsLabel->setText(u"Össz helyiség száma:"_s);
    m_terraceLabel->setText(u"Terasz::"_s);
    m_location->setTitle(u" Elhelyzekedés"_s);
    m_megjegyzes->setObjectName(u"nMegjegyzes"_s);
}
