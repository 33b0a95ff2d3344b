#pragma once

#include "widgets/fieldbinder.h"

#include <QHash>
#include <QList>
#include <QWidget>

class Cursor;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The simple data of a property as the entry panel and the modify window both show it: the
// controls, their captions, widths, formats and masks, built from one table and bound to the
// fields of `egyszeru`. A window embeds the form, hands it the parts that are its own (the owner
// group, the photo group) to be placed among the controls, and keeps its buttons and checks.
class PropertyForm : public QWidget
{
    Q_OBJECT
public:
    // The entry panel reads top to bottom in a scrolling column; the modify window lays the
    // groups side by side.
    enum class Arrangement { Column, Grid };
    // A part of the window set among the form's controls, with the controls of its own that the
    // Tab key visits, in order.
    struct Part
    {
        QWidget *widget;
        QList<QWidget *> tabChain;
    };

    PropertyForm(Arrangement arrangement, const Part &owners, const Part &photos,
                 const QString &descriptionPagesName, QWidget *parent = nullptr);

    // The type and settlement lists, as the reference tables hold them.
    void setLists(const QStringList &typeNames, const QStringList &settlementNames);

    // Every control at the value a new property starts with.
    void clear();
    // The property's record into the controls; the first description page shown.
    void load(const Cursor &property);
    // What the controls hold, as the property record takes it.
    FieldValues values() const { return m_binder.values(); }
    // The principal taken over from an owner record (`Nev`, `Irsz`, ...); the share is not.
    void copyPrincipalFrom(const Cursor &owner);

    // The form's controls and the parts, in the order the Tab key visits them.
    const QList<QWidget *> &tabChain() const { return m_tabChain; }
    QWidget *control(const QString &objectName) const { return m_controls.value(objectName); }
    QLineEdit *identifier() const;
    QLineEdit *sitePostcode() const;
    QComboBox *types() const;
    QComboBox *settlement() const;
    QComboBox *county() const;
    QTabWidget *descriptionPages() const { return m_pages; }

signals:
    // "U.a. mint a tulajdonos": the window knows which owner list to copy from.
    void sameAsOwnerClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row;
    static const QList<Row> &rows();
    QWidget *makeControl(const Row &row);
    QWidget *makeLineControl(const Row &row);
    QWidget *makeNumberControl(const Row &row);
    QWidget *makeListControl(const Row &row);
    QWidget *buildData(QWidget *box) const;
    QWidget *buildGroup(QWidget *box, int section) const;
    void fillPages();
    QWidget *buildDescriptions();
    void arrangeInColumn(const Part &owners, const Part &photos);
    void arrangeInGrid(const Part &owners, const Part &photos);
    void chainSections(const QList<int> &sections);

    FieldBinder m_binder;
    QHash<QString, QWidget *> m_controls;
    QList<QWidget *> m_postcodes;
    QPushButton *m_sameAsOwner;
    QTabWidget *m_pages;
    QList<QWidget *> m_tabChain;
};

// Asks "A beírt, még nem rögzített adatok elvesznek. Folytatja?": true when the user lets the
// input go.
bool confirmDiscardingInput();
