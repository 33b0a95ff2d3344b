#include "reszletes.h"

#include "cursor.h"
#include "numberedit.h"
#include "optionlists.h"
#include "record.h"
#include "textformat.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

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
    m_alak = new RadioChoice(s("rAlak"), s(" Telek alakja "),
                             options({"négyzet", "téglalap", "trapéz", "L alak", "T alak",
                                      "szabálytalan", "háromszög", "egyéb", "nincs"}),
                             3, this);
    m_tabOrder << m_alak;
    layout->addWidget(m_alak);

    layout->addWidget(listGroup(
        s(" Falak anyaga"), s("rFalakAnyaga"),
        options({"tégla", "falazó elem", "panel", "beton", "fémszerkezet", "fa", "kő",
                 "könnyűszerkezet", "vályogtégla", "vegyes", "tömés", "szerelt szakipari"}),
        2, s("FalakAnyagaId"), s("FalakAnyagaText")));

    m_komfort = new RadioChoice(
        s("rKomfort"), s(" Komfort "),
        options({"összkomfortos", "komfortos", "félkomfortos", "komfort nélküli", "luxus"}), 3,
        this);
    m_tabOrder << m_komfort;
    layout->addWidget(m_komfort);

    layout->addWidget(heatingGroup());
    layout->addWidget(listGroup(
        s(" Telek állaga"), s("rTelekAllag"),
        options({"rendezett", "parkosított", "elhanyagolt", "részben rendezett", "egyéb"}), 2,
        s("TelekAllagId"), s("TelekAllagText")));
    layout->addWidget(listGroup(s(" Udvar "), s("rUdvar"),
                                options({"nincs", "füvesített", "parkosított", "konyhakert",
                                         "gyümölcsös", "szilárd burkolat"}),
                                3, s("UdvarId"), s("UdvarText")));
    layout->addWidget(listGroup(s(" Parkolás "), s("rParkolas"),
                                options({"garázs", "beálló", "nincs", "egyéb"}), 2, s("ParkolasId"),
                                s("ParkolasText")));
    layout->addWidget(listGroup(
        s(" Közművek "), s("rKozmuvek"),
        options({"vezetékes víz", "kúti víz", "ciszterna", "villany", "vezetékes gáz",
                 "tartályos gáz", "csatorna", "ülepítő", "telefon", "kábel TV", "telefonközpont"}),
        3, s("KozmuvekId"), s("KozmuvekText")));
}

void DetailedDescription::addFinishingGroups(QVBoxLayout *layout)
{
    layout->addWidget(listWithOtherGroup(
        s(" Tető "), s("rTeto"),
        options({"cserép", "pala", "hullámpala", "zsindely", "bitumenes zsindely", "egyéb:"}),
        s("TetoId"), s("TetoText"), s("rTetoEgyeb"), s("TetoEgyeb")));
    layout->addWidget(listWithOtherGroup(
        s(" Felszereltség "), s("rFelszereltseg"),
        options({"medence", "szauna", "jacuzzi", "bútorozott", "részben bútorozott",
                 "konyhai bútorokkal", "konyhai berendezésekkel", "világítótestekkel", "egyéb:"}),
        s("FelszereltsegId"), s("FelszereltsegText"), s("rFelszereltsegEgyeb"),
        s("FelszereltsegEgyeb")));
    layout->addWidget(listWithOtherGroup(
        s(" Burkolat "), s("rBurkolat"),
        options({"parketta", "járólap", "kő", "műkő", "szőnyegpadló", "pvc", "linóleum", "beton",
                 "egyéb:"}),
        s("BurkolatId"), s("BurkolatText"), s("rBurkolatEgyeb"), s("BurkolatEgyeb")));
}

void DetailedDescription::addRoomsAndSiteGroups(QVBoxLayout *layout)
{
    layout->addWidget(roomsGroup());
    layout->addWidget(levelsGroup());
    m_location = listGroup(s(" Elhelyezkedés"), s("rElhelyezkedes"),
                           options({"főút mellett", "vízparton", "panoráma"}), 2,
                           s("ElhelyezkedesId"), s("ElhelyezkedesText"));
    layout->addWidget(m_location);
    layout->addWidget(listGroup(s(" Övezet "), s("rOvezet"),
                                options({"lakó", "belvárosi", "zöldövezeti", "üdülő", "vegyes",
                                         "zárt kert", "külterület", "ipari", "kereskedelmi"}),
                                3, s("OvezetId"), s("OvezetText")));
    layout->addWidget(listGroup(s(" Fekvés "), s("rFekves"),
                                options({"déli", "dél-keleti", "keleti", "észak-nyugati", "nyugati",
                                         "dél-nyugati", "észak-keleti", "északi"}),
                                3, s("FekvesId"), s("FekvesText")));
    layout->addWidget(
        listGroup(s(" Állag "), s("rAllag"),
                  options({"újszerű", "elfogadható", "felújítandó", "befejezetlen", "egyéb"}), 3,
                  s("AllagId"), s("AllagText")));
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
    auto *group = new QGroupBox(s(" Fűtés "), this);
    auto *grid = new QGridLayout(group);
    auto addRow = [&](const char *label, const char *name, const QStringList &captions,
                      const char *idField, const char *textField) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(s(label), group), row, 0, Qt::AlignTop);
        grid->addWidget(addList(group, s(name), captions, 2, s(idField), s(textField)), row, 1);
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
    m_rooms = new QGroupBox(s(" Helységek "), this);
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
        return place(new QLabel(s(label), m_rooms), addCounter(m_rooms, s(name), s(field)));
    };
    m_totalRoomsLabel = counter("Össz helyiségek száma:", "rOsszhelyseg", "OsszHelyseg");
    counter("Szoba:", "rSzoba", "Szoba");
    counter("Félszoba:", "rFelszoba", "Felszoba");
    counter("Nappali:", "rNappali", "Nappali");
    counter("Konyha:", "rKonyha", "Konyha");
    place(new QLabel(s("Konyha típusa:"), m_rooms),
          addList(m_rooms, s("rKonyhaTipus"),
                  options({"hagyományos", "amerikai", "főzőfülke", "egyéb"}), 2, s("KonyhaId"),
                  s("KonyhaText")),
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
    place(new QLabel(s("mégpedig:"), m_rooms), addText(m_rooms, s("rEgyebText"), s("EgyebText")),
          true);

    m_wcFurdo = new QCheckBox(s("A WC egybe van a fürdőszobával"), m_rooms);
    m_wcFurdo->setObjectName(s("rWcFurdo"));
    m_tabOrder << m_wcFurdo;
    grid->addWidget(m_wcFurdo, grid->rowCount(), 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return m_rooms;
}

QGroupBox *DetailedDescription::levelsGroup()
{
    auto *group = new QGroupBox(s(" Szintek "), this);
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel(s("Száma:"), group), 0, 0);
    grid->addWidget(addCounter(group, s("rSzintekszama"), s("Szintekszama")), 0, 1);
    grid->addWidget(new QLabel(s("Ebből lakható:"), group), 0, 2);
    grid->addWidget(addCounter(group, s("rLakhatoSzint"), s("LakhatoSzint")), 0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

QGroupBox *DetailedDescription::remarkGroup()
{
    auto *group = new QGroupBox(s(" Megjegyzés "), this);
    auto *layout = new QVBoxLayout(group);
    m_megjegyzes = new QPlainTextEdit(group);
    m_megjegyzes->setObjectName(s("rMegjegyzes"));
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
    values.insert(s("AlakId"), m_alak->index());
    values.insert(s("AlakText"), m_alak->caption());
    values.insert(s("KomfortId"), m_komfort->index());
    values.insert(s("KomfortText"), m_komfort->caption());
    for (const ListField &list : m_lists) {
        values.insert(list.idField, list.list->flagString());
        values.insert(list.textField, list.list->captionList());
    }
    for (const TextField &text : m_texts)
        values.insert(text.field, text.edit->text());
    for (const CounterField &counter : m_counters)
        values.insert(counter.field, counter.edit->wholeValue());
    values.insert(s("Megjegyzes"), textformat::memoFromEdit(m_megjegyzes->toPlainText()));
    values.insert(s("WcFurdo"), m_wcFurdo->isChecked());
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
    m_alak->setIndex(reszletes.integer(s("AlakId")));
    m_komfort->setIndex(reszletes.integer(s("KomfortId")));
    for (const ListField &list : std::as_const(m_lists))
        list.list->tickFrom(reszletes.text(list.idField));
    for (const TextField &text : std::as_const(m_texts))
        text.edit->setText(reszletes.text(text.field));
    for (const CounterField &counter : std::as_const(m_counters))
        counter.edit->setValue(reszletes.integer(counter.field));
    m_wcFurdo->setChecked(reszletes.boolean(s("WcFurdo")));
    m_megjegyzes->setPlainText(textformat::memoToEdit(reszletes.text(s("Megjegyzes"))));
}

void DetailedDescription::useBrowseCaptions()
{
    m_alak->setTitle(s(" Ingatlan alakja "));
    m_rooms->setTitle(s(" Helyiségek "));
    m_totalRoomsLabel->setText(s("Össz helyiség száma:"));
    m_terraceLabel->setText(s("Terasz::"));
    m_location->setTitle(s(" Elhelyzekedés"));
    m_megjegyzes->setObjectName(s("nMegjegyzes"));
}
