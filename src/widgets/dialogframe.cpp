#include "widgets/dialogframe.h"

#include <QApplication>
#include <QDialog>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

QLabel *makeHeading(const QString &text, int pointSize)
{
    auto *heading = new QLabel(text);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    heading->setFont(font);
    auto *shadow = new QGraphicsDropShadowEffect(heading);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(2);
    shadow->setColor(QColor(128, 128, 128));
    heading->setGraphicsEffect(shadow);
    return heading;
}

QLabel *buildMessageFrame(QDialog *dialog, const QString &caption, const QString &heading,
                          bool question, QVBoxLayout **buttonsArea)
{
    dialog->setWindowTitle(caption);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(makeHeading(heading));

    auto *body = new QHBoxLayout;
    auto *icon = new QLabel;
    const QStyle::StandardPixmap which =
        question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxInformation;
    icon->setPixmap(dialog->style()->standardIcon(which).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    body->addWidget(icon);
    auto *label = new QLabel;
    label->setObjectName(QStringLiteral("uzenet"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMinimumWidth(320);
    body->addWidget(label, 1);
    layout->addLayout(body);

    *buttonsArea = layout;
    return label;
}

void fixAndCentre(QDialog *dialog)
{
    dialog->setMinimumSize(0, 0);
    dialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    dialog->adjustSize();
    dialog->setFixedSize(dialog->size());
    if (const QScreen *screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog->move(area.center() - dialog->rect().center());
    }
}

void addCloseButton(QDialog *dialog, QBoxLayout *layout)
{
    auto *close = new QPushButton(QStringLiteral("Bezár"), dialog);
    close->setObjectName(QStringLiteral("BitBtn1"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}
