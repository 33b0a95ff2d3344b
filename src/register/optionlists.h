#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QRadioButton;

// A multiple-choice list: one check box per option, laid out down the columns.
class CheckList : public QFrame
{
    Q_OBJECT
public:
    CheckList(const QString &objectName, const QStringList &captions, int columns,
              QWidget *parent = nullptr);

    const QStringList &captions() const { return m_captions; }
    QCheckBox *option(int index) const { return m_boxes.value(index); }
    const QList<QCheckBox *> &options() const { return m_boxes; }

    QList<bool> ticks() const;
    QString flagString() const;
    QString captionList() const;
    void tickFrom(const QString &flags);

private:
    QStringList m_captions;
    QList<QCheckBox *> m_boxes;
};

// A single-choice group: its own caption, one radio button per option, down the columns.
class RadioChoice : public QGroupBox
{
    Q_OBJECT
public:
    RadioChoice(const QString &objectName, const QString &title, const QStringList &captions,
                int columns, QWidget *parent = nullptr);

    QRadioButton *option(int index) const;
    const QStringList &captions() const { return m_captions; }
    int index() const; // -1 when nothing is chosen
    QString caption() const; // empty when nothing is chosen
    void setIndex(int index); // out of range: nothing chosen

private:
    QStringList m_captions;
    QButtonGroup *m_group;
};

// Lays widgets out down `columns` columns, the way the program's option lists read.
template<typename Layout, typename Widgets>
void fillColumns(Layout *grid, const Widgets &widgets, int columns)
{
    const int rows = (int(widgets.size()) + columns - 1) / columns;
    for (int i = 0; i < int(widgets.size()); ++i)
        grid->addWidget(widgets[i], i % rows, i / rows);
}
