#include "register/jpegcodec.h"
#include "register/newproperty.h"
#include "register/photogroup.h"
#include "register/registerwindows.h"
#include "register/reszletespanel.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "register/ujkep.h"
#include "register/workingowners.h"
#include "store/registerstate.h"
#include "tests/register/jpegfiles.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "tests/support/typing.h"
#include "widgets/numberedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

namespace {

const QString stored = QStringLiteral("Az adat sikeresen rögzítésre került!");

// The panel with the windows and cursors start-up gives it, on a fresh data directory with a
// few settlements and the type list filled as the main window fills it.
struct Form
{
    TempDataDir dir;
    Database db {dir.path()};
    RegisterState cursors {db};
    RegisterWindows windows;
    TfUjKep ujKep {windows};
    TfTulajHozzaad hozzaad {cursors.tdTulaj};
    TfTulajModosit modosit {cursors.tdTulaj};
    ReszletesPanel reszletes;
    std::unique_ptr<NewPropertyPanel> panel;

    explicit Form(bool withTypes = true)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Images")));
        windows.fUjKep = &ujKep;
        windows.fTulajHozzaad = &hozzaad;
        windows.fTulajModosit = &modosit;
        for (Cursor *c : {&cursors.tEgyszeru, &cursors.tdTulaj, &cursors.tTelep})
            c->open();
        addSettlement(QStringLiteral("Kiskunhalas"), QStringLiteral("6400"),
                      QStringLiteral("Bács-Kiskun"));
        addSettlement(QStringLiteral("Balotaszállás"), QStringLiteral("6400"),
                      QStringLiteral("Bács-Kiskun"));
        addSettlement(QStringLiteral("Szeged"), QStringLiteral("6720"), QStringLiteral("Csongrád"));
        panel = std::make_unique<NewPropertyPanel>(cursors, windows);
        panel->setDetailedPanel(&reszletes);
        if (withTypes)
            fillTypes();
        combo("nCimVaros")->addItems({QStringLiteral("Kiskunhalas"), QStringLiteral("Szeged")});
        panel->clear();
        panel->resize(900, 700);
        panel->show();
        panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(panel.get()));
    }

    void fillTypes()
    {
        combo("nTipus")->addItems({QStringLiteral("Családi ház"), QStringLiteral("Lakás")});
    }

    void addSettlement(const QString &name, const QString &postcode, const QString &county)
    {
        Cursor &t = cursors.tTelep;
        t.append();
        t.setValue(QStringLiteral("Name"), name);
        t.setValue(QStringLiteral("Irsz"), postcode);
        t.setValue(QStringLiteral("Megye"), county);
        t.post();
    }

    template<typename T = QWidget>
    T *control(const char *name) const
    {
        return ::control<T>(panel.get(), name);
    }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(name); }
    QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
    NumberEdit *number(const char *name) const { return control<NumberEdit>(name); }

    void typeNumber(const char *name, const QString &text) const
    {
        NumberEdit *e = number(name);
        e->setFocus();
        e->selectAll();
        typeText(e, text);
        e->interpretText();
    }

    QString focused() const
    {
        // The window's focus child: after a message the window itself may not be active yet.
        QWidget *w = panel->focusWidget();
        // An editable combo box hands its focus to its line edit.
        if (w && !w->parentWidget()->objectName().isEmpty() &&
            qobject_cast<QComboBox *>(w->parentWidget()))
            return w->parentWidget()->objectName();
        return w ? w->objectName() : QString();
    }

    // The least a store needs.
    void fillValid(const QString &identifier)
    {
        retypeText(edit("nAzonosito"), identifier);
        combo("nTipus")->setCurrentIndex(1);
        typeNumber("nAr", QStringLiteral("12500000"));
        retypeText(combo("nCimVaros"), QStringLiteral("Szeged"));
        retypeText(combo("nCimMegye"), QStringLiteral("Csongrád"));
    }

    // Presses "Rögzít" and answers every message; returns what was said.
    QStringList pressStore(int messages = 1)
    {
        DialogAnswerer answerer;
        for (int i = 0; i < messages; ++i)
            answerer.answer(QStringLiteral("OK"));
        QTest::mouseClick(control<QPushButton>("nRogzit"), Qt::LeftButton);
        return answerer.seen();
    }

    int count(const QString &table) const
    {
        Cursor c(const_cast<Database &>(db), table, false);
        c.open();
        return c.recordCount();
    }

    void addOwner(const QString &nev, const QString &irsz, const QString &hanyad)
    {
        Cursor &w = cursors.tdTulaj;
        w.append();
        w.setValue(QStringLiteral("Nev"), nev);
        w.setValue(QStringLiteral("Irsz"), irsz);
        w.setValue(QStringLiteral("Varos"), QStringLiteral("Szeged"));
        w.setValue(QStringLiteral("Utca"), QStringLiteral("Tisza L. krt. 1."));
        w.setValue(QStringLiteral("Anyja"), QStringLiteral("Kiss Ilona"));
        w.setValue(QStringLiteral("Szigsz"), QStringLiteral("123456AB"));
        w.setValue(QStringLiteral("Hanyad"), hanyad);
        w.setValue(QStringLiteral("Telefon"), QStringLiteral("+36 62 123 456"));
        w.post();
    }

    // Picks photos in the photo window and closes it through "Változtat...", as the user does.
    void pickPhotos(const QStringList &paths)
    {
        for (const QString &path : paths)
            ujKep.addPhoto(path);
        DialogAnswerer answerer;
        answerer.handle([](QWidget *window) { window->close(); });
        QTest::mouseClick(control<QPushButton>("nKepValtoztat"), Qt::LeftButton);
    }

    QStringList imageFiles() const
    {
        return QDir(dir.filePath(QStringLiteral("Images")))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

Record onlyRecord(Database &db, const QString &table)
{
    Cursor c(db, table, false);
    c.open();
    c.first();
    return c.record();
}

// Fills every part a store writes, as a user does: the property with fractions to round, a
// memo of two lines, two owners, a wide and a tall photo, and the detailed description. False
// when the photos to pick could not be written.
bool fillEverything(Form &f)
{
    const QString big = f.dir.filePath(QStringLiteral("nagy.jpg"));
    const QString tall = f.dir.filePath(QStringLiteral("magas.jpg"));
    if (!jpegfiles::writeJpeg(big, 1024, 768) || !jpegfiles::writeJpeg(tall, 600, 800))
        return false;

    f.fillValid(QStringLiteral("KH-17"));
    f.typeNumber("nMinimumAr", QStringLiteral("11000000"));
    f.typeNumber("nEpitesEve", QStringLiteral("72,5"));
    f.typeNumber("nFelujitasEve", QStringLiteral("73,5"));
    f.typeNumber("nEpuletTerulet", QStringLiteral("120,6"));
    f.typeNumber("nSzoba", QStringLiteral("2,5"));
    f.typeNumber("nGarazs", QStringLiteral("1,5"));
    retypeText(f.combo("nTelekTeruletMertek"), QStringLiteral("négyszögöl"));
    retypeText(f.edit("nCimIrsz"), QStringLiteral("6720"));
    retypeText(f.edit("nCimUtca"), QStringLiteral("Kárász utca"));
    retypeText(f.edit("nMegbizoNev"), QStringLiteral("Szabó Éva"));
    f.control<QCheckBox>("nKulcsCheck")->setChecked(true);
    f.control<QCheckBox>("nWebCheck")->setChecked(false);
    auto *magyar = f.control<QPlainTextEdit>("nLeirasMagyar");
    magyar->setFocus();
    typeText(magyar, QStringLiteral("Csendes utca."));
    QTest::keyClick(magyar, Qt::Key_Return);
    typeText(magyar, QStringLiteral("Nagy kert."));

    f.addOwner(QStringLiteral("Szabó Éva"), QStringLiteral("6720"), QStringLiteral("1/2"));
    f.addOwner(QStringLiteral("Szabó Péter"), QStringLiteral("6720"), QStringLiteral("1/2"));
    f.pickPhotos({big, tall});

    QTest::mouseClick(f.control<QCheckBox>("nReszletes"), Qt::LeftButton);
    f.reszletes.findChild<NumberEdit *>(QStringLiteral("rSzoba"))->setValue(3);
    f.reszletes.findChild<QPlainTextEdit *>(QStringLiteral("rMegjegyzes"))
        ->setPlainText(QStringLiteral("Sor 1\nSor 2"));
    return true;
}

} // namespace

class TestNewProperty : public QObject
{
    Q_OBJECT
private slots:
    void checksRunInOrderWithTheirFocus();
    void duplicateIdentifiers();
    void fullFormCountsPhotosAndOpensTheDetails();
    void fullStoreSaysSoBeforeTheMatching();
    void fullStoreWritesEveryField();
    void fullStoreLinksTheOwnersAndDetails();
    void fullStoreShrinksThePhotosIntoPlace();
    void fullStoreClearsTheForm();
    void failedStoreLeavesEverythingAsBefore();
    void postcodeLookUp();
    void enterStoresExceptInMemos();
    void principalFromFirstOwner();
    void tabOrderFollowsTheForm();
    void missingImagesFolderStoresNothing();
    void untickedDetailsAndNoOwnersWriteNothingMore();
    void noNegativePricesYearsAreasOrCounts();
    void wheelChangesOnlyTheControlInUse();
};

void TestNewProperty::checksRunInOrderWithTheirFocus()
{
    Form f(false);
    QCOMPARE(f.pressStore(), QStringList {QStringLiteral("Az azonosító mező nincs kitöltve")});
    QCOMPARE(f.focused(), QStringLiteral("nAzonosito"));

    retypeText(f.edit("nAzonosito"), QStringLiteral("SZ-001"));
    QCOMPARE(f.pressStore(), QStringList {QStringLiteral("A típus mező nincs kitöltve")});
    QCOMPARE(f.focused(), QStringLiteral("nTipus"));

    f.fillTypes();
    f.combo("nTipus")->setCurrentIndex(0);
    f.typeNumber("nMinimumAr", QStringLiteral("0"));
    QCOMPARE(f.pressStore(), QStringList {QStringLiteral("Az ár mező nincs kitöltve")});
    QCOMPARE(f.focused(), QStringLiteral("nAr"));

    const QString address =
        QStringLiteral("A cím hiányos. Legalább város és megye mező kitöltendő!");
    f.typeNumber("nAr", QStringLiteral("9500000"));
    retypeText(f.combo("nCimVaros"), QStringLiteral("Szeged"));
    QCOMPARE(f.pressStore(), QStringList {address});
    QCOMPARE(f.focused(), QStringLiteral("nCimVaros"));
    retypeText(f.combo("nCimVaros"), QString());
    retypeText(f.combo("nCimMegye"), QStringLiteral("Csongrád"));
    QCOMPARE(f.pressStore(), QStringList {address});
    QCOMPARE(f.focused(), QStringLiteral("nCimVaros"));
    // Nothing of a refused property is stored, and nothing typed is lost.
    QCOMPARE(f.count(tables::egyszeru), 0);
    QCOMPARE(f.edit("nAzonosito")->text(), QStringLiteral("SZ-001"));
    QCOMPARE(f.combo("nCimMegye")->currentText(), QStringLiteral("Csongrád"));

    // A minimum price of 0 is no obstacle.
    retypeText(f.combo("nCimVaros"), QStringLiteral("Szeged"));
    QCOMPARE(f.pressStore(), QStringList {stored});
    QCOMPARE(f.count(tables::egyszeru), 1);
}

void TestNewProperty::duplicateIdentifiers()
{
    Form f;
    const QString duplicate = QStringLiteral("Van már ilyen azonosító!");
    f.fillValid(QStringLiteral("Ház-Ő1"));
    QCOMPARE(f.pressStore(), QStringList {stored});

    f.fillValid(QStringLiteral("HÁZ-ő1"));
    QCOMPARE(f.pressStore(), QStringList {duplicate});
    QCOMPARE(f.focused(), QStringLiteral("nAzonosito"));
    QCOMPARE(f.count(tables::egyszeru), 1);
    // The check leaves the shared cursor showing the whole register.
    QVERIFY(!f.cursors.tEgyszeru.filtered());

    // An apostrophe is part of the identifier, not the end of the filter.
    f.fillValid(QStringLiteral("O'Brien 2"));
    QCOMPARE(f.pressStore(), QStringList {stored});
    f.fillValid(QStringLiteral("o'brien 2"));
    QCOMPARE(f.pressStore(), QStringList {duplicate});

    // A trailing asterisk is a character of the identifier, not "anything that starts so".
    f.fillValid(QStringLiteral("Ház*"));
    QCOMPARE(f.pressStore(), QStringList {stored});
    f.fillValid(QStringLiteral("Ház*"));
    QCOMPARE(f.pressStore(), QStringList {duplicate});

    // The edit takes 20 characters, what the register keeps; so two identifiers that agree
    // in their first 20 can no longer both be stored.
    f.fillValid(QStringLiteral("ABCDEFGHIJKLMNOPQRST-1"));
    QCOMPARE(f.edit("nAzonosito")->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(f.pressStore(), QStringList {stored});
    f.fillValid(QStringLiteral("ABCDEFGHIJKLMNOPQRST-2"));
    QCOMPARE(f.pressStore(), QStringList {duplicate});
    QCOMPARE(f.count(tables::egyszeru), 4);
}

void TestNewProperty::fullFormCountsPhotosAndOpensTheDetails()
{
    Form f;
    QVERIFY(fillEverything(f));
    QCOMPARE(f.control<QLabel>("Label100")->text(), QStringLiteral("2"));
    QVERIFY(f.control<QPushButton>("nReszletesGomb")->isEnabled());
}

void TestNewProperty::fullStoreSaysSoBeforeTheMatching()
{
    Form f;
    QVERIFY(fillEverything(f));
    QSignalSpy matching(f.panel.get(), &NewPropertyPanel::propertyStored);
    DialogAnswerer answerer;
    answerer.answer(QStringLiteral("OK"));
    QStringList seenAtMatching;
    connect(f.panel.get(), &NewPropertyPanel::propertyStored,
            [&] { seenAtMatching = answerer.seen(); });
    QTest::mouseClick(f.control<QPushButton>("nRogzit"), Qt::LeftButton);
    QCOMPARE(answerer.seen(), QStringList {stored});
    QCOMPARE(matching.count(), 1);
    QCOMPARE(seenAtMatching, QStringList {stored}); // the matching runs after the message
}

void TestNewProperty::fullStoreWritesEveryField()
{
    Form f;
    QVERIFY(fillEverything(f));
    QCOMPARE(f.pressStore(), QStringList {stored});
    const Record p = onlyRecord(f.db, tables::egyszeru);
    const int id = p.integer(QStringLiteral("Id"));
    QVERIFY(id > 0);
    QCOMPARE(p.text(QStringLiteral("Azonosito")), QStringLiteral("KH-17"));
    QCOMPARE(p.integer(QStringLiteral("TipusId")), 1);
    QCOMPARE(p.text(QStringLiteral("TipusText")), QStringLiteral("Lakás"));
    QCOMPARE(p.number(QStringLiteral("Ar")), 12500000.0);
    QCOMPARE(p.number(QStringLiteral("MinimumAr")), 11000000.0);
    QCOMPARE(p.integer(QStringLiteral("EpitesEve")), 72);
    QCOMPARE(p.integer(QStringLiteral("FelujitasEve")), 74);
    QCOMPARE(p.number(QStringLiteral("EpuletTerulet")), 121.0);
    QCOMPARE(p.integer(QStringLiteral("Szoba")), 2);
    QCOMPARE(p.integer(QStringLiteral("Garazs")), 2);
    QCOMPARE(p.text(QStringLiteral("TelekTeruletMertek")), QStringLiteral("négyszögöl"));
    QCOMPARE(p.text(QStringLiteral("CimIrsz")), QStringLiteral("6720"));
    QCOMPARE(p.text(QStringLiteral("CimVaros")), QStringLiteral("Szeged"));
    QCOMPARE(p.text(QStringLiteral("CimMegye")), QStringLiteral("Csongrád"));
    QCOMPARE(p.text(QStringLiteral("CimUtca")), QStringLiteral("Kárász utca"));
    QCOMPARE(p.text(QStringLiteral("MegbizoNev")), QStringLiteral("Szabó Éva"));
    QCOMPARE(p.text(QStringLiteral("MegbizoIrsz")), QString());
    QCOMPARE(p.text(QStringLiteral("LeirasMagyar")), QStringLiteral("Csendes utca.\r\nNagy kert."));
    QVERIFY(p.boolean(QStringLiteral("Apro")));
    QVERIFY(!p.boolean(QStringLiteral("Web")));
    QVERIFY(p.boolean(QStringLiteral("Kulcs")));
    QVERIFY(p.boolean(QStringLiteral("Telepulestis")));
    QVERIFY(p.boolean(QStringLiteral("Reszletes")));
    QVERIFY(!p.boolean(QStringLiteral("Feltoltve")));
    QVERIFY(!p.boolean(QStringLiteral("Print")));
    QVERIFY(!p.text(QStringLiteral("Start")).isEmpty());
    QVERIFY(p.text(QStringLiteral("Change")).isEmpty());
    QCOMPARE(p.text(QStringLiteral("Kep1")), QStringLiteral("%1-1.jpg").arg(id));
    QCOMPARE(p.text(QStringLiteral("Kep2")), QStringLiteral("%1-2.jpg").arg(id));
    QVERIFY(p.text(QStringLiteral("Kep3")).isEmpty());
    QVERIFY(p.text(QStringLiteral("Kep4")).isEmpty());
}

void TestNewProperty::fullStoreLinksTheOwnersAndDetails()
{
    Form f;
    QVERIFY(fillEverything(f));
    QCOMPARE(f.pressStore(), QStringList {stored});
    const int id = onlyRecord(f.db, tables::egyszeru).integer(QStringLiteral("Id"));

    Cursor owners(f.db, tables::tulajdonos, false);
    owners.open();
    QCOMPARE(owners.recordCount(), 2);
    QStringList names;
    for (owners.first(); !owners.atEnd(); owners.next()) {
        QCOMPARE(owners.integer(QStringLiteral("EgyszeruId")), id);
        QCOMPARE(owners.text(QStringLiteral("Hanyad")), QStringLiteral("1/2"));
        names << owners.text(QStringLiteral("Nev"));
    }
    QCOMPARE(names, (QStringList {QStringLiteral("Szabó Éva"), QStringLiteral("Szabó Péter")}));

    const Record d = onlyRecord(f.db, tables::reszletes);
    QCOMPARE(f.count(tables::reszletes), 1);
    QCOMPARE(d.integer(QStringLiteral("EgyszeruId")), id);
    QCOMPARE(d.text(QStringLiteral("Azonosito")), QStringLiteral("KH-17"));
    QCOMPARE(d.integer(QStringLiteral("Szoba")), 3);
    QCOMPARE(d.text(QStringLiteral("AlakText")), QStringLiteral("négyzet"));
    QCOMPARE(d.text(QStringLiteral("Megjegyzes")), QStringLiteral("Sor 1\r\nSor 2"));
}

// The photos are in place, shrunk, and nothing temporary is left beside them.
void TestNewProperty::fullStoreShrinksThePhotosIntoPlace()
{
    Form f;
    QVERIFY(fillEverything(f));
    QCOMPARE(f.pressStore(), QStringList {stored});
    const int id = onlyRecord(f.db, tables::egyszeru).integer(QStringLiteral("Id"));
    QCOMPARE(
        f.imageFiles(),
        (QStringList {QStringLiteral("%1-1.jpg").arg(id), QStringLiteral("%1-2.jpg").arg(id)}));
    const RgbImage first = jpeg::decode(
        jpegfiles::read(f.dir.filePath(QStringLiteral("Images/%1-1.jpg").arg(id))), QString());
    QCOMPARE(QSize(first.width, first.height), QSize(300, 225));
    const RgbImage second = jpeg::decode(
        jpegfiles::read(f.dir.filePath(QStringLiteral("Images/%1-2.jpg").arg(id))), QString());
    QCOMPARE(QSize(second.width, second.height), QSize(225, 300));
}

// The form is fresh for the next property.
void TestNewProperty::fullStoreClearsTheForm()
{
    Form f;
    QVERIFY(fillEverything(f));
    QCOMPARE(f.pressStore(), QStringList {stored});
    QVERIFY(f.edit("nAzonosito")->text().isEmpty());
    QCOMPARE(f.combo("nTipus")->currentIndex(), 0);
    QCOMPARE(f.number("nAr")->value(), 0.0);
    QCOMPARE(f.number("nEpitesEve")->value(), 0.0);
    QCOMPARE(f.combo("nTelekTeruletMertek")->currentText(), QStringLiteral("négyzetméter"));
    QVERIFY(f.combo("nCimVaros")->currentText().isEmpty());
    QVERIFY(f.combo("nCimMegye")->currentText().isEmpty());
    QVERIFY(f.edit("nCimIrsz")->text().isEmpty());
    QVERIFY(f.control<QCheckBox>("nWebCheck")->isChecked());
    QVERIFY(!f.control<QCheckBox>("nKulcsCheck")->isChecked());
    QVERIFY(f.control<QPlainTextEdit>("nLeirasMagyar")->toPlainText().isEmpty());
    QCOMPARE(f.control<QLabel>("Label100")->text(), QStringLiteral("0"));
    QVERIFY(f.ujKep.photos().isEmpty());
    QCOMPARE(f.cursors.tdTulaj.recordCount(), 0);
    QVERIFY(!f.control<QCheckBox>("nReszletes")->isChecked());
    QVERIFY(!f.control<QPushButton>("nReszletesGomb")->isEnabled());
    QCOMPARE(f.reszletes.findChild<NumberEdit *>(QStringLiteral("rSzoba"))->value(), 0.0);
    QCOMPARE(f.focused(), QStringLiteral("nAzonosito"));
}

void TestNewProperty::failedStoreLeavesEverythingAsBefore()
{
    Form f;
    const QString good = f.dir.filePath(QStringLiteral("jo.jpg"));
    const QString bad = f.dir.filePath(QStringLiteral("rossz.jpg"));
    QVERIFY(jpegfiles::writeJpeg(good, 640, 480));
    QVERIFY(jpegfiles::write(bad, "ez nem kép"));
    f.fillValid(QStringLiteral("HIBA-1"));
    f.addOwner(QStringLiteral("Kovács Anna"), QStringLiteral("6400"), QStringLiteral("1/1"));
    f.pickPhotos({good, bad});
    QTest::mouseClick(f.control<QCheckBox>("nReszletes"), Qt::LeftButton);

    QSignalSpy matching(f.panel.get(), &NewPropertyPanel::propertyStored);
    const QStringList said = f.pressStore();
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().contains(QStringLiteral("rossz.jpg")), qPrintable(said.first()));
    QVERIFY(said.first().contains(QStringLiteral("nem került rögzítésre")));
    QCOMPARE(matching.count(), 0);
    for (const QString &table : {tables::egyszeru, tables::tulajdonos, tables::reszletes})
        QCOMPARE(f.count(table), 0);
    QVERIFY(f.imageFiles().isEmpty());
    // Everything typed and picked is still there to correct.
    QCOMPARE(f.edit("nAzonosito")->text(), QStringLiteral("HIBA-1"));
    QCOMPARE(f.combo("nCimVaros")->currentText(), QStringLiteral("Szeged"));
    QCOMPARE(f.cursors.tdTulaj.recordCount(), 1);
    QCOMPARE(f.ujKep.photos().size(), 2);
    QCOMPARE(f.control<QLabel>("Label100")->text(), QStringLiteral("2"));
    QVERIFY(f.control<QCheckBox>("nReszletes")->isChecked());

    // A table that fails late (after the property and its owners are written) undoes them too.
    QVERIFY(jpegfiles::writeJpeg(bad, 320, 240));
    f.db.exec(QStringLiteral("ALTER TABLE reszletes RENAME TO reszletes_el"));
    const QStringList tableSaid = f.pressStore();
    QCOMPARE(tableSaid.size(), 1);
    QVERIFY(tableSaid.first().contains(QStringLiteral("nem került rögzítésre")));
    f.db.exec(QStringLiteral("ALTER TABLE reszletes_el RENAME TO reszletes"));
    for (const QString &table : {tables::egyszeru, tables::tulajdonos, tables::reszletes})
        QCOMPARE(f.count(table), 0);
    QVERIFY(f.imageFiles().isEmpty());

    // Corrected, the same form stores.
    QCOMPARE(f.pressStore(), QStringList {stored});
    QCOMPARE(f.count(tables::egyszeru), 1);
    QCOMPARE(f.count(tables::tulajdonos), 1);
    QCOMPARE(f.count(tables::reszletes), 1);
    QCOMPARE(f.imageFiles().size(), 2);
}

void TestNewProperty::postcodeLookUp()
{
    Form f;
    QLineEdit *irsz = f.edit("nCimIrsz");
    QComboBox *varos = f.combo("nCimVaros");
    QComboBox *megye = f.combo("nCimMegye");
    auto leave = [&] {
        f.edit("nCimUtca")->setFocus(Qt::TabFocusReason);
    };

    // The mask takes digits only, four at most.
    retypeText(irsz, QStringLiteral("6a40012"));
    QCOMPARE(irsz->text().trimmed(), QStringLiteral("6400"));
    leave();
    QCOMPARE(varos->currentText(), QStringLiteral("Kiskunhalas")); // the first of two
    QCOMPARE(megye->currentText(), QStringLiteral("Bács-Kiskun"));

    // A settlement already there stays, whatever the postcode.
    retypeText(irsz, QStringLiteral("6720"));
    leave();
    QCOMPARE(varos->currentText(), QStringLiteral("Kiskunhalas"));

    // A postcode no settlement has empties both.
    retypeText(varos, QString());
    retypeText(megye, QStringLiteral("Pest"));
    retypeText(irsz, QStringLiteral("1111"));
    leave();
    QVERIFY(varos->currentText().isEmpty());
    QVERIFY(megye->currentText().isEmpty());

    // No postcode, no look-up.
    retypeText(megye, QStringLiteral("Pest"));
    retypeText(irsz, QString());
    leave();
    QCOMPARE(megye->currentText(), QStringLiteral("Pest"));

    // The principal's postcode looks nothing up.
    retypeText(f.edit("nMegbizoIrsz"), QStringLiteral("6720"));
    leave();
    QVERIFY(varos->currentText().isEmpty());
}

void TestNewProperty::enterStoresExceptInMemos()
{
    Form f;
    for (const char *name : {"nAzonosito", "nAr", "nCimVaros", "nKulcsCheck", "nCimIrsz"}) {
        QWidget *w = f.control(name);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            w = combo->lineEdit();
        w->setFocus();
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        QTest::keyClick(w, Qt::Key_Return);
        QCOMPARE(answerer.seen(), QStringList {QStringLiteral("Az azonosító mező nincs kitöltve")});
    }
    auto *memo = f.control<QPlainTextEdit>("nLeirasAngol");
    f.control<QTabWidget>("PageControl1")->setCurrentIndex(1);
    memo->setFocus();
    typeText(memo, QStringLiteral("Quiet"));
    QTest::keyClick(memo, Qt::Key_Return);
    typeText(memo, QStringLiteral("street"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("Quiet\nstreet"));
}

void TestNewProperty::principalFromFirstOwner()
{
    Form f;
    f.addOwner(QStringLiteral("Tóth Béla"), QStringLiteral("6400"), QStringLiteral("2/3"));
    f.addOwner(QStringLiteral("Tóth Anna"), QStringLiteral("6720"), QStringLiteral("1/3"));
    f.cursors.tdTulaj.last();
    QTest::mouseClick(f.control<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f.edit("nMegbizoNev")->text(), QStringLiteral("Tóth Béla"));
    QCOMPARE(f.edit("nMegbizoIrsz")->text().trimmed(), QStringLiteral("6400"));
    QCOMPARE(f.edit("nMegbizoVaros")->text(), QStringLiteral("Szeged"));
    QCOMPARE(f.edit("nMegbizoUtca")->text(), QStringLiteral("Tisza L. krt. 1."));
    QCOMPARE(f.edit("nMegbizoAnyja")->text(), QStringLiteral("Kiss Ilona"));
    QCOMPARE(f.edit("nMegbizoSzigsz")->text(), QStringLiteral("123456AB"));
    QCOMPARE(f.edit("nMegbizoTelefon")->text(), QStringLiteral("+36 62 123 456"));

    emptyWorkingOwners(f.cursors.tdTulaj);
    QTest::mouseClick(f.control<QPushButton>("Button1"), Qt::LeftButton);
    for (const char *name : {"nMegbizoNev", "nMegbizoVaros", "nMegbizoTelefon"})
        QVERIFY(f.edit(name)->text().isEmpty());
}

void TestNewProperty::tabOrderFollowsTheForm()
{
    Form f;
    const QStringList expected {"nAzonosito",
                                "nTipus",
                                "nMinimumAr",
                                "nAr",
                                "nEpitesEve",
                                "nFelujitasEve",
                                "nEpuletTerulet",
                                "nTelekTerulet",
                                "nTelekTeruletMertek",
                                "nOsszHelyseg",
                                "nSzoba",
                                "nGarazs",
                                "nCimIrsz",
                                "nCimVaros",
                                "nCimMegye",
                                "nCimUtca",
                                "nCimHazszam",
                                "nCimEmelet",
                                "nCimAjto",
                                "nHrsz",
                                "nCimRegio",
                                "DBGrid3",
                                "Button9",
                                "Button11",
                                "Button12",
                                "nMegbizoNev",
                                "nMegbizoAnyja",
                                "nMegbizoIrsz",
                                "nMegbizoVaros",
                                "nMegbizoUtca",
                                "nMegbizoTelefon",
                                "nMegbizoSzigsz",
                                "Button1",
                                "nAproCheck",
                                "nWebCheck",
                                "nKulcsCheck",
                                "PageControl1",
                                "nLeirasMagyar",
                                "nTelepulestis",
                                "nKepValtoztat",
                                "nReszletesGomb",
                                "nReszletes",
                                "nRogzit"};
    QStringList order;
    QWidget *w = f.control("nAzonosito");
    for (int guard = 0; guard < 500 && order.size() < expected.size();
         ++guard, w = w->nextInFocusChain()) {
        // Controls with inner editors (combo boxes, number edits) hand the focus on inside.
        QWidget *named = w;
        while (named && !expected.contains(named->objectName()) && named != f.panel.get())
            named = named->parentWidget();
        if (named && named != f.panel.get() &&
            (order.isEmpty() || order.last() != named->objectName()) &&
            !order.contains(named->objectName()))
            order << named->objectName();
    }
    QCOMPARE(order, expected);
}

void TestNewProperty::missingImagesFolderStoresNothing()
{
    Form f;
    const QString photo = f.dir.filePath(QStringLiteral("foto.jpg"));
    QVERIFY(jpegfiles::writeJpeg(photo, 400, 300));
    QVERIFY(QDir(f.dir.filePath(QStringLiteral("Images"))).removeRecursively());
    f.fillValid(QStringLiteral("NINCS-MAPPA"));
    f.addOwner(QStringLiteral("Nagy Ede"), QStringLiteral("6720"), QStringLiteral("1/1"));
    f.pickPhotos({photo});
    const QStringList said = f.pressStore();
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().contains(QStringLiteral("nem került rögzítésre")),
             qPrintable(said.first()));
    QCOMPARE(f.count(tables::egyszeru), 0);
    QCOMPARE(f.count(tables::tulajdonos), 0);
    QCOMPARE(f.edit("nAzonosito")->text(), QStringLiteral("NINCS-MAPPA"));
}

void TestNewProperty::untickedDetailsAndNoOwnersWriteNothingMore()
{
    Form f;
    f.fillValid(QStringLiteral("EGYSZERU-1"));
    QTest::mouseClick(f.control<QCheckBox>("nReszletes"), Qt::LeftButton);
    f.reszletes.findChild<NumberEdit *>(QStringLiteral("rSzoba"))->setValue(4);
    QTest::mouseClick(f.control<QCheckBox>("nReszletes"), Qt::LeftButton);
    QVERIFY(!f.control<QPushButton>("nReszletesGomb")->isEnabled());
    QCOMPARE(f.pressStore(), QStringList {stored});
    QCOMPARE(f.count(tables::egyszeru), 1);
    QCOMPARE(f.count(tables::tulajdonos), 0);
    QCOMPARE(f.count(tables::reszletes), 0);
    const Record p = onlyRecord(f.db, tables::egyszeru);
    QVERIFY(!p.boolean(QStringLiteral("Reszletes")));
    QVERIFY(p.text(QStringLiteral("Kep1")).isEmpty());
    QCOMPARE(p.number(QStringLiteral("MinimumAr")), 0.0);
}

void TestNewProperty::noNegativePricesYearsAreasOrCounts()
{
    Form f;
    f.fillValid(QStringLiteral("NEG-1"));
    const struct
    {
        const char *control;
        const char *field;
        int expected;
    } typed[] = {{"nMinimumAr", "MinimumAr", 9000000},
                 {"nAr", "Ar", 12500000},
                 {"nEpitesEve", "EpitesEve", 1990},
                 {"nFelujitasEve", "FelujitasEve", 2020},
                 {"nEpuletTerulet", "EpuletTerulet", 80},
                 {"nTelekTerulet", "TelekTerulet", 600},
                 {"nOsszHelyseg", "OsszesHelyseg", 4},
                 {"nSzoba", "Szoba", 3},
                 {"nGarazs", "Garazs", 1}};
    // The minus key does nothing: the digits after it are the value.
    for (const auto &number : typed)
        f.typeNumber(number.control, QLatin1Char('-') + QString::number(number.expected));
    // A lone minus typed over a value is refused as well: the value stays.
    f.typeNumber("nGarazs", QStringLiteral("-"));
    QCOMPARE(f.number("nGarazs")->value(), 1.0);
    QCOMPARE(f.pressStore(), QStringList {stored});
    const Record property = onlyRecord(f.db, tables::egyszeru);
    for (const auto &number : typed)
        QCOMPARE(property.integer(QString::fromLatin1(number.field)), number.expected);
}

void TestNewProperty::wheelChangesOnlyTheControlInUse()
{
    Form f;
    // Turns the wheel over a control; true when the control took it (an ignored turn goes on to
    // the scrolling form).
    auto wheel = [](QWidget *control, int notches) {
        const QPointF at = QRectF(control->rect()).center();
        QWheelEvent event(at, control->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &event);
        return event.isAccepted();
    };
    f.edit("nAzonosito")->setFocus();
    for (const char *name : {"nTipus", "nTelekTeruletMertek", "nCimMegye"}) {
        QComboBox *combo = f.combo(name);
        combo->setCurrentIndex(0);
        QVERIFY(!wheel(combo, -1));
        QCOMPARE(combo->currentIndex(), 0);
    }
    for (const char *name : {"nAr", "nEpitesEve", "nOsszHelyseg"}) {
        QVERIFY(!wheel(f.number(name), 5));
        QCOMPARE(f.number(name)->value(), 0.0);
    }
    QVERIFY(f.edit("nAzonosito")->hasFocus());

    // The control the user is in takes it.
    f.combo("nTipus")->setFocus();
    QVERIFY(wheel(f.combo("nTipus"), -1));
    QCOMPARE(f.combo("nTipus")->currentIndex(), 1);
    f.number("nSzoba")->setFocus();
    wheel(f.number("nSzoba"), 2);
    QCOMPARE(f.number("nSzoba")->value(), 2.0);
}

QTEST_MAIN(TestNewProperty)
#include "test_newproperty.moc"
