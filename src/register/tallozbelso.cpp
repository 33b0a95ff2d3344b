#include "register/tallozbelso.h"

#include "store/cursor.h"
#include "store/filter.h"
#include "store/registerstate.h"
#include "widgets/cursorgrid.h"
#include "widgets/dialogframe.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfTallozbelso::TfTallozbelso(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_tEgyszeru(cursors.tEgyszeru)
    , m_owners(std::make_unique<Cursor>(cursors.db, tables::tulajdonos, false))
{
    setObjectName(QStringLiteral("fTallozbelso"));
    setWindowTitle(u"Pelmora - Ingatlan Nyilvántartás (Tallózás - belső adatok)"_s);

    // An empty list has no property, and no property owns record 0.
    const int id = m_tEgyszeru.isEmpty() ? 0 : m_tEgyszeru.integer(QStringLiteral("Id"));
    m_owners->open();
    m_owners->setFilterText(filters::ofProperty(id));
    m_owners->setFiltered(true);
    m_owners->first();

    auto *layout = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    auto *azonosito = m_bound.edit(this, QStringLiteral("DBEdit1"), QStringLiteral("Azonosito"));
    QFont bold = azonosito->font();
    bold.setBold(true);
    azonosito->setFont(bold);
    head->addWidget(azonosito);
    head->addStretch();
    head->addWidget(new QLabel(u"Minimum ár:"_s, this));
    head->addWidget(m_bound.edit(this, QStringLiteral("DBEdit2"), QStringLiteral("MinimumAr")));
    head->addWidget(new QLabel(QStringLiteral("Ft"), this));
    layout->addLayout(head);
    layout->addWidget(buildOwners());
    auto *lower = new QHBoxLayout;
    lower->addWidget(buildPrincipal(), 1);
    lower->addWidget(buildFlags(), 1);
    layout->addLayout(lower);

    addCloseButton(this, layout);

    m_bound.fill(m_tEgyszeru);
    fixAndCentre(this);
}

TfTallozbelso::~TfTallozbelso() = default;

QWidget *TfTallozbelso::buildOwners()
{
    auto *group = new QGroupBox(u" Tulajdonos "_s, this);
    auto *layout = new QVBoxLayout(group);
    auto *grid = new CursorGrid(m_owners.get(),
                                {
                                    {QStringLiteral("Nev"), u"Név"_s},
                                    {QStringLiteral("Cim"), u"Cím"_s},
                                    {QStringLiteral("Hanyad"), u"Tulajdoni hányad"_s},
                                    {QStringLiteral("Anyja"), u"Anyja neve"_s},
                                    {QStringLiteral("Szigsz"), u"Személyigazolvány szám"_s},
                                    {QStringLiteral("Telefon"), u"Telefon"_s},
                                },
                                group);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setMinimumSize(720, 140);
    grid->resizeColumnsToContents();
    layout->addWidget(grid);
    return group;
}

QWidget *TfTallozbelso::buildPrincipal()
{
    return m_bound.group(this, u"Megbízó"_s,
                         {
                             {"Neve:", "DBEdit3", "MegbizoNev"},
                             {"Irányítószám:", "DBEdit4", "MegbizoIrsz"},
                             {"Város:", "DBEdit5", "MegbizoVaros"},
                             {"Utca, házszám:", "DBEdit6", "MegbizoUtca"},
                             {"Telefon:", "DBEdit7", "MegbizoTelefon"},
                             {"Személyigazolvány száma:", "DBEdit8", "MegbizoSzigsz"},
                             {"Anyja neve:", "DBEdit9", "MegbizoAnyja"},
                         });
}

QWidget *TfTallozbelso::buildFlags()
{
    auto *area = new QWidget(this);
    auto *layout = new QVBoxLayout(area);
    const QList<std::tuple<const char *, const char *, const char *>> flags {
        {"DBCheckBox1", "Az ingatlan felkerülhet az apróhirdetések közé", "Apro"},
        {"DBCheckBox2", "Az ingatlan felkerülhet a webes adatbázisba", "Web"},
        {"DBCheckBox3", "Megtekintésre a kulcs az irodában", "Kulcs"},
        {"DBCheckBox4", "Az Interneten a település is megjelenhet", "Telepulestis"},
    };
    for (const auto &[name, caption, field] : flags) {
        layout->addWidget(m_bound.check(area, QString::fromLatin1(name), QString::fromUtf8(caption),
                                        QString::fromLatin1(field), BoundFields::Check::Shown));
    }
    layout->addStretch();
    return area;
}
