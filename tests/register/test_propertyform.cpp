#include "register/modosit.h"
#include "register/newproperty.h"
#include "register/propertyform.h"
#include "store/referencelists.h"
#include "tests/register/registerfixture.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The entry panel and the modify window side by side on one register.
struct BothWindows : RegisterFixture
{
    std::unique_ptr<NewPropertyPanel> entry;
    std::unique_ptr<TfModosit> modify;

    BothWindows()
    {
        addTypes({u"Családi ház"_s, u"Lakás"_s, u"Telek"_s});
        c.tTelep.open();
        for (const char *name : {"Szeged", "Hódmezővásárhely"}) {
            c.tTelep.append();
            c.tTelep.setValue(u"Name"_s, QString::fromUtf8(name));
            c.tTelep.post();
        }
        entry = std::make_unique<NewPropertyPanel>(c, windows);
        entry->form()->setLists(nameList(c.tItypes), nameList(c.tTelep));
        modify = std::make_unique<TfModosit>(c, windows);
    }
};

// What a user meets in a control, as far as the kind of control shows it.
QString describe(QWidget *control)
{
    QStringList traits {QString::fromLatin1(control->metaObject()->className())};
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        traits << QString::number(edit->maxLength()) << edit->inputMask();
    if (auto *number = qobject_cast<NumberEdit *>(control))
        traits << number->suffix() << QString::number(number->minimum())
               << QString::number(number->maximum(), 'f', 0);
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        traits << (combo->isEditable() ? u"editable"_s : u"fixed"_s);
        if (combo->lineEdit())
            traits << QString::number(combo->lineEdit()->maxLength());
        for (int i = 0; i < combo->count(); ++i)
            traits << combo->itemText(i);
    }
    if (auto *check = qobject_cast<QCheckBox *>(control))
        traits << check->text();
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        traits << (memo->tabChangesFocus() ? u"tab moves on"_s : u"tab typed"_s);
    return traits.join(QLatin1Char('|'));
}

// Every simple-data control of a window by its objectName, with its traits.
QMap<QString, QString> simpleData(QWidget *window)
{
    QMap<QString, QString> controls;
    const auto *form = window->findChild<PropertyForm *>();
    for (QWidget *control : form->findChildren<QWidget *>()) {
        const QString name = control->objectName();
        if (name.startsWith(QLatin1Char('n')) && name != u"nKepValtoztat"_s)
            controls.insert(name, describe(control));
    }
    return controls;
}

QStringList labels(QWidget *window)
{
    QStringList texts;
    for (const QLabel *label : window->findChild<PropertyForm *>()->findChildren<QLabel *>()) {
        if (label->text().endsWith(QLatin1Char(':')))
            texts << label->text();
    }
    texts.sort();
    return texts;
}

} // namespace

class TestPropertyForm : public QObject
{
    Q_OBJECT

private slots:
    // The two windows show one property alike: the same controls under the same names, with
    // the same captions, widths, masks, formats and lists.
    void entryAndModifyShowTheSameControls()
    {
        BothWindows w;
        const QMap<QString, QString> entry = simpleData(w.entry.get());
        QCOMPARE(entry.size(), 36);
        QCOMPARE(simpleData(w.modify.get()), entry);
        QCOMPARE(labels(w.modify.get()), labels(w.entry.get()));

        // The widths are the fields' own.
        for (const char *name : {"nCimUtca", "nMegbizoTelefon", "nAzonosito", "nHrsz"}) {
            auto *edit = w.entry->findChild<QLineEdit *>(QString::fromUtf8(name));
            QCOMPARE(edit->maxLength(),
                     tables::width(tables::egyszeru, QString::fromLatin1(name + 1)));
        }
        QCOMPARE(w.modify->findChild<QComboBox *>(u"nTipus"_s)->itemText(1), u"Lakás"_s);
        QCOMPARE(w.modify->findChild<QComboBox *>(u"nCimVaros"_s)->count(), 2);

        const QStringList pages = {u"Magyar leírás"_s, u"Angol leírás"_s, u"Német leírás"_s,
                                   u"Apróhírdetés szövege"_s};
        for (const auto &[window, name] :
             {std::pair<QWidget *, const char *> {w.entry.get(), "PageControl1"},
              {w.modify.get(), "PageControl2"}}) {
            auto *tabs = window->findChild<QTabWidget *>(QString::fromUtf8(name));
            QVERIFY(tabs);
            QStringList captions;
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
            QCOMPARE(captions, pages);
        }
    }

    // Typed as a user types: both postcodes take four digits and nothing else, in both windows,
    // and no text box takes more than its field keeps.
    void typingIsHeldToTheFields()
    {
        BothWindows w;
        for (QWidget *window :
             {static_cast<QWidget *>(w.entry.get()), static_cast<QWidget *>(w.modify.get())}) {
            for (const char *name : {"nCimIrsz", "nMegbizoIrsz"}) {
                auto *postcode = window->findChild<QLineEdit *>(QString::fromUtf8(name));
                postcode->setFocus();
                postcode->home(false);
                QTest::keyClicks(postcode, u"6a7-2x09"_s);
                QCOMPARE(postcode->text().trimmed(), u"6720"_s);
            }
            auto *street = window->findChild<QLineEdit *>(u"nCimUtca"_s);
            QTest::keyClicks(street, QString(60, QLatin1Char('u')));
            QCOMPARE(street->text().size(), 50);
            auto *county = window->findChild<QComboBox *>(u"nCimMegye"_s);
            QTest::keyClicks(county->lineEdit(), QString(40, QLatin1Char('m')));
            QCOMPARE(county->currentText().size(), 30);
        }
    }
};

QTEST_MAIN(TestPropertyForm)
#include "test_propertyform.moc"
