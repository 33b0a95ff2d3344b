#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "tests/support/errorof.h"
#include "tests/support/tempdatadir.h"
#include "widgets/fieldbinder.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

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
    QLineEdit *azonosito = binder.bind(new QLineEdit(owner.get()), u"Azonosito"_s);
    QLineEdit *irsz = binder.bind(new QLineEdit(owner.get()), u"CimIrsz"_s);
    QComboBox *varos = binder.bind(editableCombo(owner.get()), u"CimVaros"_s);
    QComboBox *tipus = binder.bindIndex(new QComboBox(owner.get()), u"TipusId"_s, u"TipusText"_s);
    QCheckBox *apro = binder.bind(new QCheckBox(owner.get()), u"Apro"_s);
    NumberEdit *ar =
        binder.bind(new NumberEdit(u"nAr"_s, u" Ft"_s, 0, 1e12, owner.get()), u"Ar"_s, false);
    NumberEdit *epites = binder.bind(new NumberEdit(u"nEpitesEve"_s, {}, 0, 9999, owner.get()),
                                     u"EpitesEve"_s, true);
    NumberEdit *terulet =
        binder.bind(new NumberEdit(u"nEpuletTerulet"_s, {}, 0, 99999999, owner.get()),
                    u"EpuletTerulet"_s, true);
    QPlainTextEdit *leiras = binder.bind(new QPlainTextEdit(owner.get()), u"LeirasMagyar"_s);

    PropertyControls()
    {
        tipus->addItems({u"Lakás"_s, u"Családi ház"_s, u"Telek"_s});
        irsz->setInputMask(u"0000; "_s);
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
        typed.azonosito->setText(u"ŐZ-1"_s);
        QTest::keyClicks(typed.irsz, u"67"_s);
        typed.varos->setEditText(u"Hódmezővásárhely"_s);
        typed.tipus->setCurrentIndex(1);
        typed.apro->setChecked(true);
        typed.ar->setValue(25000000.5);
        typed.epites->setValue(1973.5);
        typed.terulet->setValue(72.5);
        typed.leiras->setPlainText(u"első sor\nmásodik sor"_s);
        cursor.append();
        typed.binder.write(cursor);
        cursor.post();
        const int id = cursor.integer(u"Id"_s);

        const QString row = QStringLiteral(" FROM egyszeru WHERE Id = %1").arg(id);
        QCOMPARE(column(db, u"SELECT Azonosito"_s + row).toString(), u"ŐZ-1"_s);
        // The mask's blanks are not part of the postcode.
        QCOMPARE(column(db, u"SELECT CimIrsz"_s + row).toString(), u"67"_s);
        QCOMPARE(column(db, u"SELECT CimVaros"_s + row).toString(), u"Hódmezővásárhely"_s);
        QCOMPARE(column(db, u"SELECT TipusId"_s + row).toDouble(), 1.0);
        QCOMPARE(column(db, u"SELECT TipusText"_s + row).toString(), u"Családi ház"_s);
        QCOMPARE(column(db, u"SELECT Apro"_s + row).toInt(), 1);
        QCOMPARE(column(db, u"SELECT Ar"_s + row).toDouble(), 25000000.5);
        // Halves go to the even neighbour, for a float field as for a whole-number one.
        QCOMPARE(column(db, u"SELECT EpitesEve"_s + row).toInt(), 1974);
        QCOMPARE(column(db, u"SELECT EpuletTerulet"_s + row).toDouble(), 72.0);
        QCOMPARE(column(db, u"SELECT LeirasMagyar"_s + row).toString(),
                 u"első sor\r\nmásodik sor"_s);

        PropertyControls shown;
        shown.binder.load(cursor);
        QCOMPARE(shown.azonosito->text(), u"ŐZ-1"_s);
        QCOMPARE(shown.irsz->text().trimmed(), u"67"_s);
        QCOMPARE(shown.varos->currentText(), u"Hódmezővásárhely"_s);
        QCOMPARE(shown.tipus->currentIndex(), 1);
        QVERIFY(shown.apro->isChecked());
        QCOMPARE(shown.ar->value(), 25000000.5);
        QCOMPARE(shown.epites->value(), 1974.0);
        QCOMPARE(shown.leiras->toPlainText(), u"első sor\nmásodik sor"_s);
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
        QTest::keyClicks(c.azonosito, u"ABCDEFGHIJKLMNOPQRSTUVWXY"_s);
        QCOMPARE(c.azonosito->text(), u"ABCDEFGHIJKLMNOPQRST"_s);
        QCOMPARE(c.varos->lineEdit()->maxLength(), 50);

        // A text field edited in a multi-line box counts each line break as the two characters
        // it is stored as.
        FieldBinder request(tables::erdeklodes);
        QPlainTextEdit szoveg;
        request.bind(&szoveg, u"Szoveg"_s);
        szoveg.setPlainText(QString(200, QLatin1Char('a')) + QString(20, QLatin1Char('\n')) +
                            QString(100, QLatin1Char('b')));
        const QString stored = request.values().constFirst().second.toString();
        QCOMPARE(stored.size(), 255);
        QVERIFY(stored.contains(u"\r\n"_s));
        QVERIFY(stored.endsWith(u"\r\n"_s + QString(15, QLatin1Char('b'))));

        // A misspelt field is a message, not a box that takes any length.
        FieldBinder binder(tables::egyszeru);
        QLineEdit edit;
        QCOMPARE(errorOf([&] { binder.bind(&edit, u"Azonosíto"_s); }),
                 u"Ismeretlen mező: egyszeru.Azonosíto"_s);
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
        c.azonosito->setText(u"RÉGI"_s);
        c.tipus->setCurrentIndex(2);
        c.apro->setChecked(true);
        c.ar->setValue(5);
        c.leiras->setPlainText(u"régi"_s);
        c.varos->setEditText(u"Szeged"_s);
        c.binder.load(cursor); // nothing in the table
        QVERIFY(c.azonosito->text().isEmpty());
        QCOMPARE(c.tipus->currentIndex(), 0);
        QVERIFY(!c.apro->isChecked());
        QCOMPARE(c.ar->value(), 0.0);
        QVERIFY(c.leiras->toPlainText().isEmpty());
        QVERIFY(c.varos->currentText().isEmpty());

        cursor.append();
        cursor.setValue(u"TipusId"_s, 7);
        cursor.setValue(u"TipusText"_s, u"Tanya"_s);
        cursor.post();
        c.binder.load(cursor);
        QCOMPARE(c.tipus->currentIndex(), -1);
        QVERIFY(c.azonosito->text().isEmpty());
        QCOMPARE(c.epites->value(), 0.0);
        c.azonosito->setText(u"ÚJ"_s);
        cursor.edit();
        c.binder.write(cursor);
        cursor.post();
        QCOMPARE(cursor.integer(u"TipusId"_s), 7);
        QCOMPARE(cursor.text(u"TipusText"_s), u"Tanya"_s);
        QCOMPARE(cursor.text(u"Azonosito"_s), u"ÚJ"_s);

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
            edit->setText(u"előző"_s);
        }
        view.bind(&terulet, u"TelekTerulet"_s);
        view.bind(&szoba, u"Szoba"_s);
        view.bind(&utca, u"CimUtca"_s);
        // An empty list shows no property, not one whose numbers are all 0.
        view.load(cursor);
        QVERIFY(terulet.text().isEmpty());
        QVERIFY(szoba.text().isEmpty());

        cursor.append();
        cursor.setValue(u"TelekTerulet"_s, 1234.5);
        cursor.setValue(u"Szoba"_s, 3);
        cursor.setValue(u"CimUtca"_s, QString(50, QLatin1Char('u')));
        cursor.post();
        view.load(cursor);
        QCOMPARE(terulet.text(), textformat::numberText(1234.5));
        QCOMPARE(szoba.text(), u"3"_s);
        QCOMPARE(utca.text().size(), 50);
        QCOMPARE(utca.cursorPosition(), 0);
    }
};

QTEST_MAIN(TestFieldBinder)
#include "test_fieldbinder.moc"
