#pragma once

#include "register/searchfilter.h"

#include <QWidget>

struct RegisterState;
class CursorGrid;
class NumberEdit;
class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The search panel: finds properties by identifier, type, settlement and price range on the
// shared property cursor, sorts them by a click on a column title, and fills and empties the
// print list. The row selected in its grid is what modify, delete, browse and print act on.
class SearchPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SearchPanel(RegisterState &cursors, QWidget *parent = nullptr);

    // The panel's entry steps, run by the side menu after it has shown the panel.
    void enter();
    CursorGrid *grid() const { return m_grid; }

signals:
    // Raised only when the list holds a record; the empty list is answered here.
    void modifyRequested();
    void deleteRequested();
    void printRequested();
    void browseRequested();

private:
    struct Buttons
    {
        QPushButton *search;
        QPushButton *all;
        QPushButton *browse;
        QPushButton *print;
        QPushButton *putOnList;
        QPushButton *clearList;
        QPushButton *remove;
        QPushButton *modify;
    };

    void buildFields(QVBoxLayout *layout);
    static Buttons makeButtons();
    void buildResults(QVBoxLayout *layout, const Buttons &b);
    void orderTabs(const Buttons &b);
    void connectButtons(const Buttons &b);
    void connectRecordAction(QPushButton *button, void (SearchPanel::*request)(),
                             const QString &nothingSelected);
    void sAzonositoChange();
    void BitBtn1Click(); // search
    void BitBtn5Click(); // all properties
    void DBGrid1TitleClick(int column);
    void markSortColumn(int column);
    SearchFields currentFields() const;
    void showFields(const SearchFields &fields);
    bool hasRecord() const;

    RegisterState &m_cursors;
    QLineEdit *m_azonosito;
    QComboBox *m_telepules;
    QComboBox *m_tipus;
    NumberEdit *m_artol;
    NumberEdit *m_arig;
    CursorGrid *m_grid;
    SearchFields m_remembered;
};
