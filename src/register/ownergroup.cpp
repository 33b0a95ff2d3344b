#include "register/ownergroup.h"

#include "register/registerwindows.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "store/cursor.h"
#include "widgets/cursorgrid.h"
#include "widgets/errorboundary.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

OwnerGroup::OwnerGroup(Cursor &tdTulaj, RegisterWindows &windows, QWidget *parent)
    : QGroupBox(QStringLiteral(" Tulajdonos "), parent)
    , m_tdTulaj(tdTulaj)
    , m_windows(windows)
    , m_grid(new CursorGrid(&tdTulaj,
                            {{QStringLiteral("Nev"), QStringLiteral("Név")},
                             {QStringLiteral("Cim"), QStringLiteral("Cím")},
                             {QStringLiteral("Hanyad"), QStringLiteral("Tulajdoni hányad")}},
                            this))
{
    m_grid->setObjectName(QStringLiteral("DBGrid3"));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->setColumnWidth(0, 180);
    m_grid->setColumnWidth(1, 240);
    m_grid->setMinimumHeight(110);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    auto *buttons = new QVBoxLayout;
    auto button = [&](const char *name, const QString &caption, void (OwnerGroup::*action)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button("Button9", QStringLiteral("Hozzáad"), &OwnerGroup::add);
    button("Button11", QStringLiteral("Töröl"), &OwnerGroup::remove);
    button("Button12", QStringLiteral("Módosít"), &OwnerGroup::change);
    buttons->addStretch();
    layout->addLayout(buttons);
}

void OwnerGroup::add()
{
    m_windows.fTulajHozzaad->workOn(m_tdTulaj);
    m_windows.fTulajHozzaad->exec();
}

void OwnerGroup::remove()
{
    guarded([this] {
        if (m_tdTulaj.isOpen() && m_tdTulaj.recordCount() > 0)
            m_tdTulaj.remove();
    });
}

void OwnerGroup::change()
{
    if (m_tdTulaj.isOpen() && m_tdTulaj.recordCount() > 0) {
        m_windows.fTulajModosit->workOn(m_tdTulaj);
        m_windows.fTulajModosit->exec();
    }
}
