#include "cursor.h"
#include "database.h"
#include "errorof.h"
#include "fieldbinder.h"
#include "numberedit.h"
#include "tables.h"
#include "tempdatadir.h"
#include "textformat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QComboBox *editableCombo(QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    return combo;
}

// One control of every kind over a property record, as the entry windows bind them.
struct PropertyControls
{
    FieldBinder binder {tables::egyszeru};
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    QLineEdit *azonosito = binder.bind(new QLineEdit(owner.get()), s("Azonosito"));
    QLineEdit *irsz = binder.bind(new QLineEdit(owner.get()), s("CimIrsz"));
    QComboBox *varos = binder.bind(editableCombo(owner.get()), s("CimVaros"));
    QComboBox *tipus = binder.bindIndex(new QComboBox(owner.get()), s("TipusId"), s("TipusText"));
    QCheckBox *apro = binder.bind(new QCheckBox(owner.get()), s("Apro"));
    NumberEdit *ar =
        binder.bind(new NumberEdit(s("nAr"), s(" Ft"), 0, 1e12, owner.get()), s("Ar"), false);
    NumberEdit *epites = binder.bind(new NumberEdit(s("nEpitesEve"), {}, 0, 9999, owner.get()),
                                     s("EpitesEve"), true);
    NumberEdit *terulet =
        binder.bind(new NumberEdit(s("nEpuletTerulet"), {}, 0, 99999999, owner.get()),
                    s("EpuletTerulet"), true);
    QPlainTextEdit *leiras = binder.bind(new QPlainTextEdit(owner.get()), s("LeirasMagyar"));

    PropertyControls()
    {
        tipus->addItems({s("Lakás"), s("Családi ház"), s("Telek")});
        irsz->setInputMask(s("0000; "));
    }
};

QVariant column(Database &db, const QString &sql)
{
    QSqlQuery query = db.query(sql);
    return query.next() ? query.value(0) : QVariant();
}

} // namespace

class TestFieldBinder : public QObject
{
    Q_OBJECT

private slots:
    // What the controls hold reaches the table as the record takes it, and comes back into
    // fresh controls unchanged.
    void everyKindMakesTheRoundTrip()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor cursor(db, tables::egyszeru, true);
        cursor.open();

        PropertyControls typed;
        typed.azonosito->setText(s("ŐZ-1"));
        QTest::keyClicks(typed.irsz, s("67"));
        typed.varos->setEditText(s("Hódmezővásárhely"));
        typed.tipus->setCurrentIndex(1);
        typed.apro->setChecked(true);
        typed.ar->setValue(25000000.5);
        typed.epites->setValue(1973.5);
        typed.terulet->setValue(72.5);
        typed.leiras->setPlainText(s("első sor\nmásodik sor"));
        cursor.append();
        typed.binder.write(cursor);
        cursor.post();
        const int id = cursor.integer(s("Id"));

        const QString row = QStringLiteral(" FROM egyszeru WHERE Id = %1").arg(id);
        QCOMPARE(column(db, s("SELECT Azonosito") + row).toString(), s("ŐZ-1"));
        // The mask's blanks are not part of the postcode.
        QCOMPARE(column(db, s("SELECT CimIrsz") + row).toString(), s("67"));
        QCOMPARE(column(db, s("SELECT CimVaros") + row).toString(), s("Hódmezővásárhely"));
        QCOMPARE(column(db, s("SELECT TipusId") + row).toDouble(), 1.0);
        QCOMPARE(column(db, s("SELECT TipusText") + row).toString(), s("Családi ház"));
        QCOMPARE(column(db, s("SELECT Apro") + row).toInt(), 1);
        QCOMPARE(column(db, s("SELECT Ar") + row).toDouble(), 25000000.5);
        // Halves go to the even neighbour, for a float field as for a whole-number one.
        QCOMPARE(column(db, s("SELECT EpitesEve") + row).toInt(), 1974);
        QCOMPARE(column(db, s("SELECT EpuletTerulet") + row).toDouble(), 72.0);
        QCOMPARE(column(db, s("SELECT LeirasMagyar") + row).toString(),
                 s("első sor\r\nmásodik sor"));

        PropertyControls shown;
        shown.binder.load(cursor);
        QCOMPARE(shown.azonosito->text(), s("ŐZ-1"));
        QCOMPARE(shown.irsz->text().trimmed(), s("67"));
        QCOMPARE(shown.varos->currentText(), s("Hódmezővásárhely"));
        QCOMPARE(shown.tipus->currentIndex(), 1);
        QVERIFY(shown.apro->isChecked());
        QCOMPARE(shown.ar->value(), 25000000.5);
        QCOMPARE(shown.epites->value(), 1974.0);
        QCOMPARE(shown.leiras->toPlainText(), s("első sor\nmásodik sor"));
        // Rounded on the way in, so what the controls say is what the table holds.
        QCOMPARE(shown.binder.values(), typed.binder.values());

        // Loading the record being typed into again leaves the caret where the typing goes on.
        shown.azonosito->setCursorPosition(2);
        shown.leiras->moveCursor(QTextCursor::Start);
        shown.binder.load(cursor);
        QCOMPARE(shown.azonosito->cursorPosition(), 2);
        QCOMPARE(shown.leiras->textCursor().position(), 0);
    }

    // No box takes more than its field keeps, so nothing typed is cut silently when stored.
    void boxesTakeTheFieldsWidths()
    {
        PropertyControls c;
        QCOMPARE(c.azonosito->maxLength(), 20);
        QTest::keyClicks(c.azonosito, s("ABCDEFGHIJKLMNOPQRSTUVWXY"));
        QCOMPARE(c.azonosito->text(), s("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(c.varos->lineEdit()->maxLength(), 50);

        // A text field edited in a multi-line box counts each line break as the two characters
        // it is stored as.
        FieldBinder request(tables::erdeklodes);
        QPlainTextEdit szoveg;
        request.bind(&szoveg, s("Szoveg"));
        szoveg.setPlainText(QString(200, QLatin1Char('a')) + QString(20, QLatin1Char('\n')) +
                            QString(100, QLatin1Char('b')));
        const QString stored = request.values().constFirst().second.toString();
        QCOMPARE(stored.size(), 255);
        QVERIFY(stored.contains(s("\r\n")));
        QVERIFY(stored.endsWith(s("\r\n") + QString(15, QLatin1Char('b'))));

        // A misspelt field is a message, not a box that takes any length.
        FieldBinder binder(tables::egyszeru);
        QLineEdit edit;
        QCOMPARE(errorOf([&] { binder.bind(&edit, s("Azonosíto")); }),
                 s("Ismeretlen mező: egyszeru.Azonosíto"));
    }

    // An empty view shows what a record never written holds; a stored type the list no longer
    // has chooses nothing and is not lost by writing the record back.
    void emptyAndMissingValues()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor cursor(db, tables::egyszeru, true);
        cursor.open();

        PropertyControls c;
        c.azonosito->setText(s("RÉGI"));
        c.tipus->setCurrentIndex(2);
        c.apro->setChecked(true);
        c.ar->setValue(5);
        c.leiras->setPlainText(s("régi"));
        c.varos->setEditText(s("Szeged"));
        c.binder.load(cursor); // nothing in the table
        QVERIFY(c.azonosito->text().isEmpty());
        QCOMPARE(c.tipus->currentIndex(), 0);
        QVERIFY(!c.apro->isChecked());
        QCOMPARE(c.ar->value(), 0.0);
        QVERIFY(c.leiras->toPlainText().isEmpty());
        QVERIFY(c.varos->currentText().isEmpty());

        cursor.append();
        cursor.setValue(s("TipusId"), 7);
        cursor.setValue(s("TipusText"), s("Tanya"));
        cursor.post();
        c.binder.load(cursor);
        QCOMPARE(c.tipus->currentIndex(), -1);
        QVERIFY(c.azonosito->text().isEmpty());
        QCOMPARE(c.epites->value(), 0.0);
        c.azonosito->setText(s("ÚJ"));
        cursor.edit();
        c.binder.write(cursor);
        cursor.post();
        QCOMPARE(cursor.integer(s("TipusId")), 7);
        QCOMPARE(cursor.text(s("TipusText")), s("Tanya"));
        QCOMPARE(cursor.text(s("Azonosito")), s("ÚJ"));

        c.binder.clear();
        QVERIFY(c.azonosito->text().isEmpty());
        QCOMPARE(c.tipus->currentIndex(), -1);
        QVERIFY(c.irsz->text().trimmed().isEmpty());
    }

    // A read-only view shows numbers as the register writes them and a long text from its start.
    void viewsShowNumbersAndTextsFromTheStart()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor cursor(db, tables::egyszeru, true);
        cursor.open();
        FieldBinder view(tables::egyszeru);
        QLineEdit terulet, szoba, utca;
        for (QLineEdit *edit : {&terulet, &szoba, &utca}) {
            edit->setReadOnly(true);
            edit->setText(s("előző"));
        }
        view.bind(&terulet, s("TelekTerulet"));
        view.bind(&szoba, s("Szoba"));
        view.bind(&utca, s("CimUtca"));
        // An empty list shows no property, not one whose numbers are all 0.
        view.load(cursor);
        QVERIFY(terulet.text().isEmpty());
        QVERIFY(szoba.text().isEmpty());

        cursor.append();
        cursor.setValue(s("TelekTerulet"), 1234.5);
        cursor.setValue(s("Szoba"), 3);
        cursor.setValue(s("CimUtca"), QString(50, QLatin1Char('u')));
        cursor.post();
        view.load(cursor);
        QCOMPARE(terulet.text(), textformat::numberText(1234.5));
        QCOMPARE(szoba.text(), s("3"));
        QCOMPARE(utca.text().size(), 50);
        QCOMPARE(utca.cursorPosition(), 0);
    }
};

QTEST_MAIN(TestFieldBinder)
#include "test_fieldbinder.moc"
