#include "register/searchpanel.h"
#include "shell/main.h"
#include "shell/program.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"
#include "widgets/cursorgrid.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct Property
{
    const char *azonosito;
    const char *tipus;
    const char *varos;
    double ar;
};

const Property properties[] = {
    {"BP-1", "Lakás", "Budapest V. kerület", 45000000},
    {"BO-2", "Családi ház", "Budaörs", 98000000},
    {"SZ-3", "Lakás", "Szeged", 21000000},
    {"O'Brien", "Telek", "Érd", 12500000},
    {"DE-5", "Panellakás", "Debrecen", 30000000},
};

} // namespace

// The search panel driven as a user drives it: side menu, typing, buttons, column titles.
class TestSearchPanel : public QObject
{
    Q_OBJECT

private:
    TempDataDir *m_dir = nullptr;
    Program *m_program = nullptr;
    TfMain *m_main = nullptr;
    SearchPanel *m_panel = nullptr;
    Cursor *m_cursor = nullptr;

    template<typename T = QWidget>
    T *control(const char *name)
    {
        return ::control<T>(m_panel, name);
    }

    void click(const char *button)
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    void enterPanel()
    {
        auto *entry = m_main->findChild<QLabel *>(QStringLiteral("Label79"));
        QTest::mouseClick(entry, Qt::LeftButton);
    }

    QStringList listed()
    {
        CursorModel *model = m_panel->grid()->cursorModel();
        QStringList ids;
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, 0).data().toString();
        return ids;
    }

    void resetFields()
    {
        retypeText(control("sAzonosito"), QString());
        retypeText(control("sTelepules"), QString());
        control<QComboBox>("sTipus")->setCurrentIndex(0);
        retypeText(control("sArtol"), QStringLiteral("0"));
        retypeText(control("sArig"), QStringLiteral("0"));
    }

private slots:
    void init()
    {
        m_dir = new TempDataDir;
        m_program = new Program;
        QVERIFY(m_program->start());
        m_program->show();
        m_main = m_program->main();
        m_panel = m_main->searchPanel();
        m_cursor = &m_main->cursors().tEgyszeru;
        for (const Property &p : properties) {
            m_cursor->append();
            m_cursor->setValue(QStringLiteral("Azonosito"), QString::fromUtf8(p.azonosito));
            m_cursor->setValue(QStringLiteral("TipusText"), QString::fromUtf8(p.tipus));
            m_cursor->setValue(QStringLiteral("CimVaros"), QString::fromUtf8(p.varos));
            m_cursor->setValue(QStringLiteral("Ar"), p.ar);
            m_cursor->post();
        }
        enterPanel();
    }

    void cleanup()
    {
        delete m_program;
        delete m_dir;
    }

    void searchExpressions()
    {
        QCOMPARE(listed(), QStringList({"O'Brien", "SZ-3", "DE-5", "BP-1", "BO-2"})); // by price
        click("BitBtn1");
        QCOMPARE(m_cursor->filterText(), QStringLiteral("(Ar >= 0 and Ar <= 9999999999)"));
        QVERIFY(m_cursor->filtered());
        QCOMPARE(
            control<QAbstractSpinBox>("sArig")->text().remove(QChar(0xa0)).remove(QLatin1Char(' ')),
            QStringLiteral("9999999999Ft"));
        QCOMPARE(listed().size(), 5);

        // Type and settlement are prefixes, case ignored, in the order price, type, settlement.
        retypeText(control("sTelepules"), QStringLiteral("buda"));
        click("BitBtn1");
        QCOMPARE(m_cursor->filterText(),
                 QStringLiteral("(Ar >= 0 and Ar <= 9999999999) and CimVaros='buda*'"));
        QCOMPARE(listed(), QStringList({"BP-1", "BO-2"}));
        control<QComboBox>("sTipus")->setCurrentIndex(
            control<QComboBox>("sTipus")->findText(QStringLiteral("Lakás")));
        retypeText(control("sTelepules"), QString());
        retypeText(control("sArtol"), QStringLiteral("20000000"));
        retypeText(control("sArig"), QStringLiteral("45000000"));
        click("BitBtn1");
        QCOMPARE(m_cursor->filterText(),
                 QStringLiteral("(Ar >= 20000000 and Ar <= 45000000) and TipusText='Lakás*'"));
        QCOMPARE(
            listed(),
            QStringList({"SZ-3", "BP-1"})); // bounds inclusive; "Panellakás" is no prefix match

        // An identifier disables the rest and is matched whole, case ignored, apostrophe and all.
        resetFields();
        typeText(control("sAzonosito"), QStringLiteral("o'brien"));
        for (const char *other : {"sTelepules", "sTipus", "sArtol", "sArig"})
            QVERIFY(!control(other)->isEnabled());
        click("BitBtn1");
        QCOMPARE(m_cursor->filterText(), QStringLiteral("Azonosito='o''brien'"));
        QCOMPARE(listed(), QStringList {"O'Brien"});
        QCOMPARE(control<QAbstractSpinBox>("sArig")->text().left(1),
                 QStringLiteral("0")); // not replaced
        retypeText(control("sAzonosito"), QStringLiteral("BP"));
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        click("BitBtn1");
        QCOMPARE(answerer.seen(),
                 QStringList {QStringLiteral("Nincs a keresési feltételnek megfelelő találat!")});
        retypeText(control("sAzonosito"), QString());
        QVERIFY(control("sArtol")->isEnabled());
    }

    void failedSearchRestores()
    {
        DialogAnswerer answerer;
        // The first failure of a run puts back the start values.
        retypeText(control("sTelepules"), QStringLiteral("Nincsilyen"));
        answerer.answer(QStringLiteral("OK"));
        click("BitBtn1");
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(control<QComboBox>("sTelepules")->currentText(), QString());
        QCOMPARE(control<QComboBox>("sTipus")->currentIndex(), 0);
        QVERIFY(!m_cursor->filtered());
        QCOMPARE(listed().size(), 5);

        retypeText(control("sTelepules"), QStringLiteral("Szeged"));
        click("BitBtn1");
        QCOMPARE(listed(), QStringList {"SZ-3"});
        retypeText(control("sTelepules"), QStringLiteral("Pécs"));
        answerer.answer(QStringLiteral("OK"));
        click("BitBtn1");
        QCOMPARE(listed(), QStringList {"SZ-3"}); // the previous result again
        QCOMPARE(control<QComboBox>("sTelepules")->currentText(), QStringLiteral("Szeged"));

        // "Összes ingatlan" drops the filter and keeps the fields.
        click("BitBtn5");
        QVERIFY(!m_cursor->filtered());
        QCOMPARE(listed().size(), 5);
        QCOMPARE(control<QComboBox>("sTelepules")->currentText(), QStringLiteral("Szeged"));
    }

    void sortingByTitles()
    {
        CursorModel *model = m_panel->grid()->cursorModel();
        const QColor gray(128, 128, 128);
        QCOMPARE(model->titleColor(2), gray);
        m_panel->grid()->titleClicked(0);
        QCOMPARE(listed(), QStringList({"BO-2", "BP-1", "DE-5", "O'Brien", "SZ-3"}));
        QCOMPARE(model->titleColor(0), gray);
        QVERIFY(!model->titleColor(2).isValid());
        m_panel->grid()->titleClicked(3);
        // Hungarian order: "ö" after "o" and before "p", "É" with "E".
        QCOMPARE(listed(), QStringList({"BO-2", "BP-1", "DE-5", "O'Brien", "SZ-3"}));
        m_panel->grid()->titleClicked(4);
        for (int column = 0; column < 5; ++column)
            QVERIFY(!model->titleColor(column).isValid());
        QCOMPARE(m_cursor->indexName(), QStringLiteral("ivaros"));

        enterPanel();
        QCOMPARE(m_cursor->indexName(), QStringLiteral("iar"));
        QCOMPARE(model->titleColor(2), gray);
        QVERIFY(!model->titleColor(0).isValid());
    }

    void printList()
    {
        CursorModel *model = m_panel->grid()->cursorModel();
        m_panel->grid()->selectRow(2);
        QCOMPARE(m_cursor->text(QStringLiteral("Azonosito")), QStringLiteral("DE-5"));
        click("Button3");
        click("Button3"); // already on the list: stays there
        QCOMPARE(model->index(2, 4).data().toString(), QStringLiteral("Igen"));
        m_panel->grid()->selectRow(4);
        click("Button3");
        QCOMPARE(model->index(4, 4).data().toString(), QStringLiteral("Igen"));

        click("BitBtn7");
        QCOMPARE(listed().size(), 5);
        QCOMPARE(m_cursor->position(), 0);
        for (int row = 0; row < 5; ++row)
            QCOMPARE(model->index(row, 4).data().toString(), QString());

        m_panel->grid()->selectRow(1);
        click("Button3");
        enterPanel(); // entering empties the list
        QCOMPARE(model->index(1, 4).data().toString(), QString());
    }

    void emptyListMessages()
    {
        DialogAnswerer answerer;
        retypeText(control("sAzonosito"), QStringLiteral("SZ-3"));
        click("BitBtn1");
        m_cursor->remove();
        QCOMPARE(listed().size(), 0);
        for (int i = 0; i < 3; ++i)
            answerer.answer(QStringLiteral("OK"));
        click("BitBtn2");
        click("BitBtn3");
        click("BitBtn6");
        QCOMPARE(
            answerer.seen(),
            QStringList({QStringLiteral("Nincs kiválaszott ingatlan, amit módosítani lehetne!"),
                         QStringLiteral("Nincs kiválaszott ingatlan, amit törölni lehetne!"),
                         QStringLiteral("Nincs kiválaszott ingatlan, amit nyomtatni lehetne!")}));
    }
};

QTEST_MAIN(TestSearchPanel)
#include "test_searchpanel.moc"
