#include "register/optionlists.h"

#include "register/flagstring.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QRadioButton>

CheckList::CheckList(const QString &objectName, const QStringList &captions, int columns,
                     QWidget *parent)
    : QFrame(parent)
    , m_captions(captions)
{
    setObjectName(objectName);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    for (const QString &caption : captions)
        m_boxes << new QCheckBox(caption, this);
    fillColumns(grid, m_boxes, columns);
}

QList<bool> CheckList::ticks() const
{
    QList<bool> result;
    for (const QCheckBox *box : m_boxes)
        result << box->isChecked();
    return result;
}

QString CheckList::flagString() const
{
    return flagstring::fromTicks(ticks());
}

QString CheckList::captionList() const
{
    return flagstring::captionList(m_captions, ticks());
}

void CheckList::tickFrom(const QString &flags)
{
    const QList<bool> ticked = flagstring::toTicks(flags, m_boxes.size());
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(ticked[i]);
}

RadioChoice::RadioChoice(const QString &objectName, const QString &title,
                         const QStringList &captions, int columns, QWidget *parent)
    : QGroupBox(title, parent)
    , m_captions(captions)
    , m_group(new QButtonGroup(this))
{
    setObjectName(objectName);
    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(0);
    QList<QRadioButton *> buttons;
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QRadioButton(captions[i], this);
        m_group->addButton(button, i);
        buttons << button;
    }
    fillColumns(grid, buttons, columns);
}

QRadioButton *RadioChoice::option(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

int RadioChoice::index() const
{
    return m_group->checkedId();
}

QString RadioChoice::caption() const
{
    return m_captions.value(index());
}

void RadioChoice::setIndex(int index)
{
    if (QRadioButton *chosen = option(index)) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group never unticks its last button by itself.
    m_group->setExclusive(false);
    for (QAbstractButton *button : m_group->buttons())
        button->setChecked(false);
    m_group->setExclusive(true);
}
