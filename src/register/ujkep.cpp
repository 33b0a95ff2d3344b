#include "register/ujkep.h"

#include "register/kepmegtekintes.h"
#include "register/photofiledialog.h"
#include "register/photos.h"
#include "register/registerwindows.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfUjKep::TfUjKep(RegisterWindows &windows, QWidget *parent)
    : QDialog(parent)
    , m_windows(windows)
    , m_list(new QListWidget(this))
    , m_count(new QLabel(QStringLiteral("0"), this))
{
    setObjectName(QStringLiteral("fUjKep"));
    setWindowTitle(QStringLiteral("Pelmora - Képek szerkesztése"));
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    top->addWidget(makeHeading(QStringLiteral("Képek szerkesztése...")));
    top->addStretch();
    m_count->setObjectName(QStringLiteral("pKepszam"));
    top->addWidget(new QLabel(QStringLiteral("Összesen "), this));
    top->addWidget(m_count);
    top->addWidget(new QLabel(QStringLiteral("kép"), this));
    layout->addLayout(top);

    layout->addWidget(new QLabel(QStringLiteral("Képek:"), this));
    m_list->setObjectName(QStringLiteral("pKepLista"));
    m_list->setMinimumSize(460, 110);
    layout->addWidget(m_list);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *hozzaad = button("pHozzaad", QStringLiteral("Hozzáad"));
    QPushButton *vissza = button("pVissza", QStringLiteral("Vissza >>"));
    QPushButton *torol = button("pTorol", QStringLiteral("Töröl"));
    QPushButton *megtekint = button("pMegtekint", QStringLiteral("Megtekint"));
    connect(hozzaad, &QPushButton::clicked, this, &TfUjKep::add);
    connect(vissza, &QPushButton::clicked, this, &QDialog::accept);
    connect(torol, &QPushButton::clicked, this, &TfUjKep::remove);
    connect(megtekint, &QPushButton::clicked, this, &TfUjKep::view);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hozzaad);
    buttons->addWidget(torol);
    buttons->addWidget(megtekint);
    buttons->addStretch();
    buttons->addWidget(vissza);
    layout->addLayout(buttons);

    setTabOrder(hozzaad, vissza);
    setTabOrder(vissza, m_list);
    setTabOrder(m_list, torol);
    setTabOrder(torol, megtekint);
    fixAndCentre(this);
}

QStringList TfUjKep::photos() const
{
    QStringList paths;
    for (int i = 0; i < m_list->count(); ++i)
        paths << m_list->item(i)->text();
    return paths;
}

QString TfUjKep::countText() const
{
    return m_count->text();
}

void TfUjKep::showCount()
{
    m_count->setText(QString::number(m_list->count()));
}

void TfUjKep::emptyPhotos()
{
    m_list->clear();
    showCount();
}

void TfUjKep::setPhotos(const QStringList &paths)
{
    m_list->clear();
    for (const QString &path : paths)
        addPhoto(path);
    showCount();
}

void TfUjKep::addPhoto(const QString &path)
{
    if (m_list->count() >= maxPhotos)
        return;
    m_list->addItem(path);
    showCount();
}

void TfUjKep::add()
{
    if (m_list->count() >= maxPhotos)
        return;
    const QString path = askForPhoto(this, m_lastFolder);
    if (path.isEmpty())
        return;
    m_lastFolder = QFileInfo(path).absolutePath();
    addPhoto(path);
}

void TfUjKep::remove()
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->currentItem()->isSelected())
        return;
    delete m_list->takeItem(row);
    showCount();
}

void TfUjKep::view()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item || !item->isSelected() || !m_windows.fKepmegtekint.available())
        return;
    TfKepmegtekint *viewer = m_windows.fKepmegtekint.get();
    if (guarded([&] { viewer->loadPicture(item->text()); }))
        viewer->exec();
}
