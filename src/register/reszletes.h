#pragma once

#include <QList>
#include <QVariantMap>
#include <QWidget>

class CheckList;
class Cursor;
class NumberEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QVBoxLayout;
class RadioChoice;
class Record;

// Every control of a property's detailed description, built once and shown by the entry
// panel, the modify window and the browse view. It reads and writes one record of the
// `reszletes` table; scrolling is up to the window that holds it.
class DetailedDescription : public QWidget
{
    Q_OBJECT
public:
    explicit DetailedDescription(QWidget *parent = nullptr);

    // The state of a fresh form: first option of both single-choice groups, nothing ticked,
    // counters 0, texts empty.
    void clear();
    // Sets every field of the cursor's current record (appended or being edited) from the
    // controls; the caller posts.
    void writeTo(Cursor &reszletes) const;
    // The fields writeTo sets, by name.
    QVariantMap values() const;
    void loadFrom(const Record &reszletes);

    // The browse view's wording of a few captions, and its name for the remark memo.
    void useBrowseCaptions();

    RadioChoice *alak() const { return m_alak; }
    RadioChoice *komfort() const { return m_komfort; }

private:
    struct ListField
    {
        CheckList *list;
        QString idField;
        QString textField;
    };
    struct CounterField
    {
        NumberEdit *edit;
        QString field;
    };
    struct TextField
    {
        QLineEdit *edit;
        QString field;
    };

    CheckList *addList(QWidget *parent, const QString &name, const QStringList &captions,
                       int columns, const QString &idField, const QString &textField);
    NumberEdit *addCounter(QWidget *parent, const QString &name, const QString &field);
    QLineEdit *addText(QWidget *parent, const QString &name, const QString &field);
    QGroupBox *listGroup(const QString &title, const QString &name, const QStringList &captions,
                         int columns, const QString &idField, const QString &textField);
    QGroupBox *listWithOtherGroup(const QString &title, const QString &name,
                                  const QStringList &captions, const QString &idField,
                                  const QString &textField, const QString &otherName,
                                  const QString &otherField);
    void addPlotAndBuildingGroups(QVBoxLayout *layout);
    void addFinishingGroups(QVBoxLayout *layout);
    void addRoomsAndSiteGroups(QVBoxLayout *layout);
    QGroupBox *heatingGroup();
    QGroupBox *roomsGroup();
    QGroupBox *levelsGroup();
    QGroupBox *remarkGroup();
    void chainTabOrder();

    RadioChoice *m_alak;
    RadioChoice *m_komfort;
    QList<ListField> m_lists;
    QList<CounterField> m_counters;
    QList<TextField> m_texts;
    QCheckBox *m_wcFurdo = nullptr;
    QPlainTextEdit *m_megjegyzes = nullptr;
    QList<QWidget *> m_tabOrder;

    QGroupBox *m_rooms = nullptr;
    QGroupBox *m_location = nullptr;
    QLabel *m_totalRoomsLabel = nullptr;
    QLabel *m_terraceLabel = nullptr;
};
