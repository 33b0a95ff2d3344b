#include "register/talloz.h"

#include "register/kepmegtekintes.h"
#include "register/naplo.h"
#include "register/registerwindows.h"
#include "register/tallozasreszletes.h"
#include "register/tallozbelso.h"
#include "store/cursor.h"
#include "store/photostore.h"
#include "store/registerstate.h"
#include "store/tables.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString photoField(int slot)
{
    return QStringLiteral("Kep%1").arg(slot);
}

QString photoItem(int slot)
{
    return QStringLiteral("%1. kép").arg(slot);
}

// Shown in its normal look, but neither the mouse nor the keys change it.
class ShownCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &) const override { return false; }
};

} // namespace

QStringList photoItems(const Record &property)
{
    QStringList items;
    for (int slot = 1; slot <= 4; ++slot) {
        if (!property.isNull() && !property.text(photoField(slot)).isEmpty())
            items.append(photoItem(slot));
    }
    return items;
}

int photoSlotOfItem(const QString &item)
{
    for (int slot = 1; slot <= 4; ++slot) {
        if (item == photoItem(slot))
            return slot;
    }
    return 0;
}

BoundFields::BoundFields()
    : m_binder(tables::egyszeru)
{ }

QLineEdit *BoundFields::edit(QWidget *parent, const QString &objectName, const QString &field)
{
    auto *control = new QLineEdit(parent);
    control->setObjectName(objectName);
    control->setReadOnly(true);
    return m_binder.bind(control, field);
}

QPlainTextEdit *BoundFields::memo(QWidget *parent, const QString &objectName, const QString &field)
{
    auto *control = new QPlainTextEdit(parent);
    control->setObjectName(objectName);
    control->setReadOnly(true);
    return m_binder.bind(control, field);
}

QCheckBox *BoundFields::check(QWidget *parent, const QString &objectName, const QString &caption,
                              const QString &field, Check kind)
{
    QCheckBox *control = kind == Check::Editable ? new QCheckBox(caption, parent)
                                                 : new ShownCheckBox(caption, parent);
    if (kind == Check::Shown)
        control->setFocusPolicy(Qt::NoFocus);
    control->setObjectName(objectName);
    return m_binder.bind(control, field);
}

QWidget *BoundFields::group(QWidget *parent, const QString &title, const QList<Labelled> &rows)
{
    auto *box = new QGroupBox(title, parent);
    auto *grid = new QGridLayout(box);
    int row = 0;
    for (const Labelled &labelled : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(labelled.label), box), row, 0);
        grid->addWidget(edit(box, QString::fromLatin1(labelled.objectName),
                             QString::fromLatin1(labelled.field)),
                        row, 1);
        ++row;
    }
    return box;
}

void BoundFields::fill(const Cursor &cursor) const
{
    m_binder.load(cursor);
}

TfTallozas::TfTallozas(RegisterState &cursors, RegisterWindows &windows,
                       std::function<void()> openPrintDialog, QWidget *parent)
    : QDialog(parent)
    , m_cursors(cursors)
    , m_tEgyszeru(cursors.tEgyszeru)
    , m_windows(windows)
    , m_openPrintDialog(std::move(openPrintDialog))
{
    setObjectName(QStringLiteral("fTallozas"));
    setWindowTitle(u"Pelmora - Ingatlan Nyilvántartás (Tallózás)"_s);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(buildData(), 1);
    top->addWidget(buildAddress(), 1);
    layout->addLayout(top);
    layout->addWidget(buildDescriptions());
    layout->addWidget(buildButtons());
    fixAndCentre(this);
}

QWidget *TfTallozas::buildData()
{
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    auto *azonosito = m_bound.edit(box, QStringLiteral("DBEdit1"), QStringLiteral("Azonosito"));
    QFont bold = azonosito->font();
    bold.setBold(true);
    azonosito->setFont(bold);
    grid->addWidget(azonosito, 0, 0, 1, 2);
    grid->addWidget(m_bound.edit(box, QStringLiteral("DBEdit2"), QStringLiteral("TipusText")), 0, 2,
                    1, 2);

    int row = 1;
    auto addRow = [&](const QString &label, const QList<QWidget *> &controls,
                      const QString &suffix) {
        grid->addWidget(new QLabel(label, box), row, 0);
        int column = 1;
        for (QWidget *control : controls)
            grid->addWidget(control, row, column++);
        if (!suffix.isEmpty()) {
            auto *after = new QLabel(suffix, box);
            after->setTextFormat(Qt::RichText);
            grid->addWidget(after, row, column);
        }
        ++row;
    };
    const QString darab = QStringLiteral("darab");
    addRow(u"Összes helyiség:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit9"), QStringLiteral("OsszesHelyseg"))}, darab);
    addRow(QStringLiteral("Szoba:"),
           {m_bound.edit(box, QStringLiteral("DBEdit10"), QStringLiteral("Szoba"))}, darab);
    addRow(u"Garázs:"_s, {m_bound.edit(box, QStringLiteral("DBEdit11"), QStringLiteral("Garazs"))},
           darab);
    addRow(u"Helyrajzi szám:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit20"), QStringLiteral("Hrsz"))}, {});
    addRow(u"Építés éve:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit5"), QStringLiteral("EpitesEve"))}, {});
    addRow(u"Felújítás éve:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit6"), QStringLiteral("FelujitasEve"))}, {});
    addRow(u"Épület területe:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit7"), QStringLiteral("EpuletTerulet"))},
           QStringLiteral("m<sup>2</sup>"));
    addRow(u"Telek területe:"_s,
           {m_bound.edit(box, QStringLiteral("DBEdit8"), QStringLiteral("TelekTerulet")),
            m_bound.edit(box, QStringLiteral("DBEdit12"), QStringLiteral("TelekTeruletMertek"))},
           {});
    addRow(u"Ár:"_s, {m_bound.edit(box, QStringLiteral("DBEdit4"), QStringLiteral("Ar"))},
           QStringLiteral("Ft"));
    grid->setRowStretch(row, 1);
    return box;
}

QWidget *TfTallozas::buildAddress()
{
    return m_bound.group(this, u"Cím"_s,
                         {
                             {"Irányítószám:", "DBEdit13", "CimIrsz"},
                             {"Város:", "DBEdit14", "CimVaros"},
                             {"Megye:", "DBEdit16", "CimMegye"},
                             {"Utca:", "DBEdit15", "CimUtca"},
                             {"Házszám:", "DBEdit17", "CimHazszam"},
                             {"Emelet:", "DBEdit18", "CimEmelet"},
                             {"Ajtó:", "DBEdit19", "CimAjto"},
                             {"Helyrajzi szám:", "DBEdit21", "Hrsz"},
                         });
}

QWidget *TfTallozas::buildDescriptions()
{
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    const QList<std::tuple<const char *, const char *, const char *>> memos {
        {"Magyar leírás", "DBMemo1", "LeirasMagyar"},
        {"Angol leírás", "DBMemo2", "LeirasAngol"},
        {"Német leírás", "DBMemo3", "LeirasNemet"},
        {"Apróhírdetés szövege", "DBMemo4", "LeirasApro"},
    };
    for (const auto &[title, name, field] : memos) {
        auto *memo = m_bound.memo(pages, QString::fromLatin1(name), QString::fromLatin1(field));
        memo->setFixedHeight(140);
        pages->addTab(memo, QString::fromUtf8(title));
    }
    return pages;
}

QWidget *TfTallozas::buildButtons()
{
    auto *area = new QWidget(this);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    auto button = [area](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, area);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };

    m_print = m_bound.check(area, QStringLiteral("DBCheckBox1"), u"Nyomtatandó"_s,
                            QStringLiteral("Print"), BoundFields::Check::Editable);
    connect(m_print, &QCheckBox::clicked, this, &TfTallozas::DBCheckBox1Click);
    grid->addWidget(m_print, 0, 0);

    m_kepLista = new QComboBox(area);
    m_kepLista->setObjectName(QStringLiteral("bKepLista"));
    m_kepLista->setMinimumWidth(90);
    grid->addWidget(m_kepLista, 0, 1);
    m_kepek = button("bKepek", u"Megtekint"_s);
    connect(m_kepek, &QPushButton::clicked, this, &TfTallozas::bKepekClick);
    grid->addWidget(m_kepek, 0, 2);

    auto *belso = button("bBelsoadatok", u"Belső adatok..."_s);
    connect(belso, &QPushButton::clicked, this, &TfTallozas::bBelsoadatokClick);
    grid->addWidget(belso, 0, 3);
    m_reszletes = button("bReszletes", u"Részletes adatok"_s);
    connect(m_reszletes, &QPushButton::clicked, this, &TfTallozas::bReszletesClick);
    grid->addWidget(m_reszletes, 0, 4);
    auto *print = button("SpeedButton1", u"Nyomtatás"_s);
    connect(print, &QPushButton::clicked, this, &TfTallozas::SpeedButton1Click);
    grid->addWidget(print, 0, 5);

    auto *prior = button("Button2", u"< Előző"_s);
    connect(prior, &QPushButton::clicked, this, [this] { step(false); });
    grid->addWidget(prior, 1, 0);
    auto *next = button("Button1", u"Következő >"_s);
    QFont bold = next->font();
    bold.setBold(true);
    next->setFont(bold);
    connect(next, &QPushButton::clicked, this, [this] { step(true); });
    grid->addWidget(next, 1, 1);

    m_naplo = button("bNaplo", u"Napló"_s);
    connect(m_naplo, &QPushButton::clicked, this, &TfTallozas::bNaploClick);
    grid->addWidget(m_naplo, 1, 4);

    // Esc rejects the dialog, which closes it the same way as this button.
    auto *close = button("BitBtn1", u"Bezár"_s);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(close, 1, 5);
    grid->setColumnStretch(3, 1);
    return area;
}

void TfTallozas::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    refresh();
}

void TfTallozas::refresh()
{
    m_bound.fill(m_tEgyszeru);
    const bool empty = m_tEgyszeru.isEmpty();
    // With no property to hold it, a ticked box would have to invent one.
    m_print->setEnabled(!empty);
    m_naplo->setEnabled(!empty);

    m_kepLista->clear();
    m_reszletes->setEnabled(!empty && m_tEgyszeru.boolean(QStringLiteral("Reszletes")));
    const QStringList items = empty ? QStringList() : photoItems(m_tEgyszeru.record());
    m_kepLista->addItems(items);
    m_kepLista->setEnabled(!items.isEmpty());
    m_kepek->setEnabled(!items.isEmpty());
    if (!items.isEmpty())
        m_kepLista->setCurrentIndex(0);
}

bool TfTallozas::storePendingPrint()
{
    if (m_tEgyszeru.state() == Cursor::State::Browse)
        return true;
    return guarded([this] { m_tEgyszeru.post(); });
}

void TfTallozas::step(bool forward)
{
    if (!storePendingPrint() || m_tEgyszeru.isEmpty())
        return;
    if (forward)
        m_tEgyszeru.next();
    else
        m_tEgyszeru.prior();
    refresh();
}

void TfTallozas::bKepekClick()
{
    const int slot = photoSlotOfItem(m_kepLista->currentText());
    if (slot == 0 || m_tEgyszeru.isEmpty())
        return;
    const QString name = m_tEgyszeru.text(photoField(slot));
    TfKepmegtekint *viewer = m_windows.fKepmegtekint.get();
    Database &db = m_tEgyszeru.database();
    if (guarded([viewer, &db, &name] { viewer->loadPicture(photostore::localFile(db, name)); }))
        viewer->exec();
}

void TfTallozas::bBelsoadatokClick()
{
    TfTallozbelso window(m_cursors, this);
    window.exec();
}

void TfTallozas::bReszletesClick()
{
    TfTallozreszletes window(m_cursors, this);
    window.exec();
}

void TfTallozas::bNaploClick()
{
    if (!storePendingPrint() || m_tEgyszeru.isEmpty())
        return;
    TfNaplo::showOfProperty(m_cursors.db, m_tEgyszeru.integer(QStringLiteral("Id")),
                            m_tEgyszeru.text(QStringLiteral("Azonosito")), this);
}

void TfTallozas::SpeedButton1Click()
{
    // The print dialog reads the print list from the table, so a fresh tick must be there first.
    if (!storePendingPrint() || m_tEgyszeru.isEmpty())
        return;
    m_openPrintDialog();
    refresh();
}

void TfTallozas::DBCheckBox1Click(bool checked)
{
    if (m_tEgyszeru.isEmpty())
        return;
    if (!guarded([this, checked] { m_tEgyszeru.setValue(QStringLiteral("Print"), checked); }))
        refresh();
}

void TfTallozas::done(int result)
{
    // A refused change must not leave the shared cursor in the middle of an edit.
    if (!storePendingPrint())
        m_tEgyszeru.cancel();
    QDialog::done(result);
}
