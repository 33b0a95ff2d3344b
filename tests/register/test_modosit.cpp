#include "register/modosit.h"
#include "register/optionlists.h"
#include "tests/register/registerfixture.h"
#include "tests/support/controls.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/typing.h"
#include "widgets/cursorgrid.h"
#include "widgets/numberedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The modify window over a fixture register, shown for the current property as the search
// panel's "Módosítás" does.
struct ModifyFixture : RegisterFixture
{
    std::unique_ptr<TfModosit> window;

    ModifyFixture()
    {
        addTypes({u"Családi ház"_s, u"Lakás"_s, u"Telek"_s});
        window = std::make_unique<TfModosit>(c, windows);
    }

    template<typename T>
    T *get(const char *name) const
    {
        return ::control<T>(window.get(), name);
    }
    void open(int id)
    {
        selectProperty(id);
        window->show();
    }
    void press(const char *button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    void typeNumber(const char *name, const QString &digits)
    {
        auto *edit = get<NumberEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, digits);
        QTest::keyClick(edit, Qt::Key_Tab);
        edit->interpretText();
    }
    QString photoCount() const { return get<QLabel>("Label100")->text(); }
    QStringList ownersOf(int id) const
    {
        QStringList names;
        for (const QString &row :
             rows(tables::tulajdonos, QStringLiteral("EgyszeruId = %1").arg(id)))
            names << row.section(QLatin1Char('|'), 2, 2).section(QLatin1Char('='), 1) +
                    QLatin1Char('/') +
                    row.section(QLatin1Char('|'), 9, 9).section(QLatin1Char('='), 1);
        return names;
    }
    QVariant field(int id, const char *name) const
    {
        return single(QStringLiteral("SELECT \"%1\" FROM egyszeru WHERE Id = %2")
                          .arg(QString::fromUtf8(name))
                          .arg(id));
    }
    // Works the photo list window as a user would: `work` runs while it is open.
    void changePhotos(DialogAnswerer &answerer, const std::function<void(QListWidget *)> &work)
    {
        answerer.handle([this, work](QWidget *) {
            work(ujKep.findChild<QListWidget *>(u"pKepLista"_s));
            QTest::mouseClick(ujKep.findChild<QPushButton *>(u"pVissza"_s), Qt::LeftButton);
        });
        press("nKepValtoztat");
    }
    void removePhoto(QListWidget *list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        QTest::mouseClick(ujKep.findChild<QPushButton *>(u"pTorol"_s), Qt::LeftButton);
    }
    // A property with owners, principal, descriptions, flags and a detailed description.
    int addFullProperty(const QString &identifier)
    {
        const int id = addProperty({{u"Azonosito"_s, identifier},
                                    {u"TipusId"_s, 1},
                                    {u"TipusText"_s, u"Lakás"_s},
                                    {u"MinimumAr"_s, 20000000},
                                    {u"Ar"_s, 25000000},
                                    {u"EpitesEve"_s, 1990},
                                    {u"Szoba"_s, 3},
                                    {u"TelekTeruletMertek"_s, u"négyszögöl"_s},
                                    {u"CimIrsz"_s, u"6720"_s},
                                    {u"CimVaros"_s, u"Szeged"_s},
                                    {u"CimMegye"_s, u"Csongrád"_s},
                                    {u"CimUtca"_s, u"Kárász utca"_s},
                                    {u"MegbizoNev"_s, u"Kiss Péter"_s},
                                    {u"Apro"_s, true},
                                    {u"Web"_s, false},
                                    {u"LeirasMagyar"_s, u"első sor\r\nmásodik sor"_s},
                                    {u"Start"_s, u"2026. 01. 02. 10:00:00"_s},
                                    {u"Print"_s, true},
                                    {u"Feltoltve"_s, true},
                                    {u"Reszletes"_s, true}});
        addOwner(c.tTulajdonos, id, u"Kiss Péter"_s, u"111"_s);
        addOwner(c.tTulajdonos, id, u"Nagy Anna"_s, u"222"_s);
        c.tTulajdonos.close();
        addDetailed(id, {{u"AlakId"_s, 2}, {u"KomfortId"_s, 1}, {u"Szoba"_s, 3}});
        return id;
    }
};

// Two full properties, the second shown in the modify window.
struct OpenFixture : ModifyFixture
{
    const int other = addFullProperty(u"MÁS-1"_s);
    const int id = addFullProperty(u"P-1"_s);

    OpenFixture() { open(id); }

    int detailedIdOf(int property) const
    {
        return single(
                   QStringLiteral("SELECT Id FROM reszletes WHERE EgyszeruId = %1").arg(property))
            .toInt();
    }

    // Edits every kind of box as a user would: numbers and a text, the second owner removed and
    // a new one added through the owner dialog, the principal taken from the first owner over
    // what was typed, an English description of two lines, and the detailed description.
    void editEverything()
    {
        typeNumber("nAr", u"30000000"_s);
        typeNumber("nEpitesEve", u"1995"_s);
        retypeText(get<QLineEdit>("nCimUtca"), u"Tisza Lajos körút"_s);
        auto *grid = get<CursorGrid>("DBGrid3");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 0)).center());
        press("Button11");
        DialogAnswerer answerer;
        answerer.handle([](QWidget *dialog) {
            typeText(dialog->findChild<QLineEdit *>(u"hNev"_s), u"Új Ödön"_s);
            typeText(dialog->findChild<QLineEdit *>(u"hTelefon"_s), u"333"_s);
            QTest::keyClick(dialog->findChild<QLineEdit *>(u"hTelefon"_s), Qt::Key_Return);
        });
        press("Button9");
        retypeText(get<QLineEdit>("nMegbizoNev"), u"valaki más"_s);
        press("Button1");
        auto *angol = get<QPlainTextEdit>("nLeirasAngol");
        angol->setFocus();
        QTest::keyClicks(angol, u"one"_s);
        QTest::keyClick(angol, Qt::Key_Return);
        QTest::keyClicks(angol, u"two"_s);
        typeNumber("rSzoba", u"4"_s);
    }

    // Enter in a line box saves; how many saves were announced.
    int saveWithEnter()
    {
        QSignalSpy saved(window.get(), &TfModosit::propertySaved);
        QTest::keyClick(get<QLineEdit>("nCimUtca"), Qt::Key_Return);
        return int(saved.count());
    }
};

} // namespace

class TestModosit : public QObject
{
    Q_OBJECT

private slots:
    void showsTheStoredProperty()
    {
        OpenFixture f;
        QCOMPARE(f.window->windowTitle(), u"Pelmora - Adatok módosítása"_s);
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->text(), u"P-1"_s);
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->maxLength(), 20);
        QCOMPARE(f.get<QComboBox>("nTipus")->currentText(), u"Lakás"_s);
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 25000000.0);
        QCOMPARE(f.get<QComboBox>("nCimVaros")->currentText(), u"Szeged"_s);
        QCOMPARE(f.get<QComboBox>("nTelekTeruletMertek")->currentText(), u"négyszögöl"_s);
        QCOMPARE(f.get<QPlainTextEdit>("nLeirasMagyar")->toPlainText(), u"első sor\nmásodik sor"_s);
        QVERIFY(f.get<QCheckBox>("nAproCheck")->isChecked());
        QVERIFY(!f.get<QCheckBox>("nWebCheck")->isChecked());
        QVERIFY(f.get<QCheckBox>("nReszletes")->isChecked());
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 2);
        QCOMPARE(f.photoCount(), u"0"_s);
        QCOMPARE(f.get<RadioChoice>("rAlak")->index(), 2);
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 3.0);
    }

    // "Mégsem" writes nothing, however much was changed, and the next showing has forgotten
    // the abandoned edits.
    void megsemWritesNothingAndIsForgotten()
    {
        OpenFixture f;
        const QStringList before = f.snapshot();
        f.typeNumber("nAr", u"1"_s);
        f.press("Button11");
        f.press("BitBtn1");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.snapshot(), before);

        f.open(f.id);
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 25000000.0);
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 2);
    }

    // The edits show while the window is open: the principal is the first owner's, and Enter
    // in a memo breaks the line only.
    void editsShowUntilSaved()
    {
        OpenFixture f;
        f.editEverything();
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 30000000.0);
        QCOMPARE(f.get<QLineEdit>("nMegbizoNev")->text(), u"Kiss Péter"_s);
        QCOMPARE(f.get<QLineEdit>("nMegbizoTelefon")->text(), u"111"_s);
        QVERIFY(f.window->isVisible());
    }

    void enterSavesTheEditedProperty()
    {
        OpenFixture f;
        f.editEverything();
        QCOMPARE(f.saveWithEnter(), 1);
        QVERIFY(!f.window->isVisible());
        const int id = f.id;
        QCOMPARE(f.field(id, "Ar").toDouble(), 30000000.0);
        QCOMPARE(f.field(id, "EpitesEve").toInt(), 1995);
        QCOMPARE(f.field(id, "CimUtca").toString(), u"Tisza Lajos körút"_s);
        QCOMPARE(f.field(id, "TipusText").toString(), u"Lakás"_s);
        QCOMPARE(f.field(id, "LeirasAngol").toString(), u"one\r\ntwo"_s);
        QCOMPARE(f.field(id, "Feltoltve").toInt(), 0);
        QVERIFY(!f.field(id, "Change").toString().isEmpty());
        QCOMPARE(f.field(id, "Start").toString(), u"2026. 01. 02. 10:00:00"_s);
        QCOMPARE(f.field(id, "Print").toInt(), 1);
        QCOMPARE(f.field(id, "Stop").toString(), QString());
        QCOMPARE(f.c.tEgyszeru.integer(u"Id"_s), id); // still selected in the search list
    }

    void savingReplacesThisPropertysOwnersOnly()
    {
        OpenFixture f;
        f.editEverything();
        QCOMPARE(f.saveWithEnter(), 1);
        QCOMPARE(f.ownersOf(f.id), (QStringList {u"Kiss Péter/111"_s, u"Új Ödön/333"_s}));
        QCOMPARE(f.ownersOf(f.other), (QStringList {u"Kiss Péter/111"_s, u"Nagy Anna/222"_s}));
    }

    void savingUpdatesTheSameDetailedRecord()
    {
        OpenFixture f;
        const int detailedId = f.detailedIdOf(f.id);
        f.editEverything();
        QCOMPARE(f.saveWithEnter(), 1);
        QCOMPARE(
            f.single(
                 QStringLiteral("SELECT count(*) FROM reszletes WHERE EgyszeruId = %1").arg(f.id))
                .toInt(),
            1);
        QCOMPARE(f.detailedIdOf(f.id), detailedId);
        QCOMPARE(
            f.single(QStringLiteral("SELECT Szoba FROM reszletes WHERE Id = %1").arg(detailedId))
                .toInt(),
            4);
        QCOMPARE(
            f.single(QStringLiteral("SELECT AlakId FROM reszletes WHERE Id = %1").arg(detailedId))
                .toInt(),
            2);
    }

    void photosMoveUp()
    {
        ModifyFixture f;
        const int id = f.addProperty({{u"Azonosito"_s, u"KEP"_s}});
        for (int slot = 1; slot <= 4; ++slot) {
            f.writePhoto(photoFileName(id, slot), 40 + 10 * slot);
            f.c.tEgyszeru.setValue(QStringLiteral("Kep%1").arg(slot), photoFileName(id, slot));
        }
        f.c.tEgyszeru.post();
        f.open(id);
        QCOMPARE(f.photoCount(), u"4"_s);
        QCOMPARE(f.ujKep.photos().value(0), photoPath(f.dir.path(), photoFileName(id, 1)));

        DialogAnswerer answerer;
        f.changePhotos(answerer, [&](QListWidget *list) { f.removePhoto(list, 0); });
        QCOMPARE(f.photoCount(), u"3"_s);
        f.press("BitBtn2");
        QCOMPARE(f.field(id, "Kep1").toString(), photoFileName(id, 1));
        QCOMPARE(f.field(id, "Kep3").toString(), photoFileName(id, 3));
        QCOMPARE(f.field(id, "Kep4").toString(), QString());
        QCOMPARE(f.photoWidth(photoFileName(id, 1)), 60);
        QCOMPARE(f.photoWidth(photoFileName(id, 2)), 70);
        QCOMPARE(f.photoWidth(photoFileName(id, 3)), 80);
        QCOMPARE(f.photoWidth(photoFileName(id, 4)), 80); // the emptied slot's file stays

        // The first photo removed and put back at the end keeps its own picture, although a
        // lower slot is written over its file first.
        f.open(id);
        f.changePhotos(answerer, [&](QListWidget *list) {
            const QString first = list->item(0)->text();
            f.removePhoto(list, 0);
            f.ujKep.addPhoto(first);
        });
        f.press("BitBtn2");
        QCOMPARE(f.photoWidth(photoFileName(id, 1)), 70);
        QCOMPARE(f.photoWidth(photoFileName(id, 2)), 80);
        QCOMPARE(f.photoWidth(photoFileName(id, 3)), 60);
        const QStringList leftOver =
            QDir(imagesFolder(f.dir.path())).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(leftOver.size(), 4); // no temporary file left behind
    }

    // The photo window is shared with the new-property panel: photos picked there before a
    // modification are still the panel's afterwards, and the modified property's photos never
    // become a new property's.
    void photosPickedForANewPropertySurviveAModification()
    {
        ModifyFixture f;
        const int id = f.addProperty({{u"Azonosito"_s, u"KEPES"_s}});
        f.writePhoto(photoFileName(id, 1), 50);
        f.c.tEgyszeru.setValue(u"Kep1"_s, photoFileName(id, 1));
        f.c.tEgyszeru.post();
        const QString picked = f.dir.filePath(u"uj.jpg"_s);
        f.ujKep.addPhoto(picked);

        f.open(id);
        QCOMPARE(f.ujKep.photos(), QStringList {photoPath(f.dir.path(), photoFileName(id, 1))});
        f.press("BitBtn1");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.ujKep.photos(), QStringList {picked});

        f.open(id);
        f.press("BitBtn2"); // saved: the panel's pick is still its own
        QCOMPARE(f.ujKep.photos(), QStringList {picked});
    }

    void detailedPage()
    {
        ModifyFixture f;
        const int with = f.addFullProperty(u"VAN"_s);
        const int without = f.addProperty({{u"Azonosito"_s, u"NINCS"_s}});
        const int missing =
            f.addProperty({{u"Azonosito"_s, u"HIANYZIK"_s}, {u"Reszletes"_s, true}});
        auto *pages = f.get<QTabWidget>("PageControl1");

        f.open(with);
        QVERIFY(pages->isTabEnabled(1));
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 3.0);
        f.press("BitBtn1");

        // Without a record the page starts afresh, not with the previous property's values.
        f.open(without);
        QVERIFY(!pages->isTabEnabled(1));
        QVERIFY(f.get<QScrollArea>("ScrollBox1")->isHidden());
        QCOMPARE(f.get<RadioChoice>("rAlak")->caption(), u"nincs"_s);
        QCOMPARE(f.get<RadioChoice>("rKomfort")->caption(), u"összkomfortos"_s);
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 0.0);
        QTest::mouseClick(f.get<QCheckBox>("nReszletes"), Qt::LeftButton);
        QVERIFY(pages->isTabEnabled(1));
        QVERIFY(!f.get<QScrollArea>("ScrollBox1")->isHidden());
        f.get<NumberEdit>("rSzoba")->setValue(2);
        f.press("BitBtn2");
        QCOMPARE(f.field(without, "Reszletes").toInt(), 1);
        QCOMPARE(f.rows(tables::reszletes, QStringLiteral("EgyszeruId = %1").arg(without)).size(),
                 1);
        QCOMPARE(
            f.single(
                 QStringLiteral("SELECT Szoba FROM reszletes WHERE EgyszeruId = %1").arg(without))
                .toInt(),
            2);
        QCOMPARE(f.single(QStringLiteral("SELECT Azonosito FROM reszletes WHERE EgyszeruId = %1")
                              .arg(without))
                     .toString(),
                 u"NINCS"_s);

        // Marked as having one, yet without a record: a fresh page, and saving makes exactly one.
        f.open(with);
        f.press("BitBtn1");
        f.open(missing);
        QVERIFY(pages->isTabEnabled(1));
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 0.0);
        QCOMPARE(f.get<RadioChoice>("rAlak")->caption(), u"nincs"_s);
        f.press("BitBtn2");
        QCOMPARE(f.rows(tables::reszletes, QStringLiteral("EgyszeruId = %1").arg(missing)).size(),
                 1);
        f.open(missing);
        f.press("BitBtn2");
        QCOMPARE(f.rows(tables::reszletes, QStringLiteral("EgyszeruId = %1").arg(missing)).size(),
                 1);

        // Unticking deletes the property's record and no other.
        f.open(with);
        QTest::mouseClick(f.get<QCheckBox>("nReszletes"), Qt::LeftButton);
        f.press("BitBtn2");
        QCOMPARE(f.field(with, "Reszletes").toInt(), 0);
        QCOMPARE(f.rows(tables::reszletes, QStringLiteral("EgyszeruId = %1").arg(with)).size(), 0);
        QCOMPARE(f.rows(tables::reszletes).size(), 2);
    }

    void identifierAndType()
    {
        ModifyFixture f;
        const int mine = f.addProperty({{u"Azonosito"_s, u"ÁRPÁD-1"_s},
                                        {u"TipusId"_s, 0},
                                        {u"TipusText"_s, u"Családi ház"_s}});
        f.addProperty({{u"Azonosito"_s, u"Ödön-2"_s}});
        const int old = f.addProperty(
            {{u"Azonosito"_s, u"RÉGI"_s}, {u"TipusId"_s, 7}, {u"TipusText"_s, u"Régi típus"_s}});

        f.open(mine);
        const QStringList before = f.snapshot();
        DialogAnswerer answerer;
        answerer.answer(u"OK"_s);
        retypeText(f.get<QLineEdit>("nAzonosito"), u"ÖDÖN-2"_s);
        f.press("BitBtn2");
        QCOMPARE(answerer.lastSeen(), u"Van már ilyen azonosító!"_s);
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->focusWidget() == f.get<QLineEdit>("nAzonosito"));
        QCOMPARE(f.snapshot(), before);

        // Its own identifier in other letters is no clash; nor is a prefix of another's.
        for (const QString &identifier : {u"árpád-1"_s, u"O'Brien 1"_s, u"Ödön*"_s}) {
            retypeText(f.get<QLineEdit>("nAzonosito"), identifier);
            f.press("BitBtn2");
            QCOMPARE(f.field(mine, "Azonosito").toString(), identifier);
            f.open(mine);
        }
        f.press("BitBtn1");
        QCOMPARE(answerer.seen().size(), 1);

        // A type position beyond the list shows no type and is kept as stored.
        f.open(old);
        QCOMPARE(f.get<QComboBox>("nTipus")->currentIndex(), -1);
        f.typeNumber("nAr", u"5"_s);
        f.press("BitBtn2");
        QCOMPARE(f.field(old, "TipusId").toInt(), 7);
        QCOMPARE(f.field(old, "TipusText").toString(), u"Régi típus"_s);
        QCOMPARE(f.field(old, "Ar").toInt(), 5);
    }

    void highRecordNumberKeepsOwners()
    {
        ModifyFixture f;
        f.db.exec(
            QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('egyszeru', 39999)"));
        const int id = f.addProperty({{u"Azonosito"_s, u"NAGY"_s}});
        QCOMPARE(id, 40000);
        f.addOwner(f.c.tTulajdonos, id, u"Tóth Ede"_s, u"444"_s);
        f.c.tTulajdonos.close();
        f.open(id);
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 1);
        f.press("BitBtn2");
        QCOMPARE(f.ownersOf(id), QStringList {u"Tóth Ede/444"_s});
    }

    void frameCloseAsksBeforeEditsAreLost()
    {
        ModifyFixture f;
        const int id = f.addFullProperty(u"ZÁR-1"_s);
        const QString question = u"A beírt, még nem rögzített adatok elvesznek. Folytatja?"_s;
        DialogAnswerer answerer;

        // Shown and closed untouched: nothing to lose, nothing asked.
        f.open(id);
        QVERIFY(f.window->close());
        QVERIFY(answerer.seen().isEmpty());

        // An edited field: declining keeps the window and the edit.
        f.open(id);
        retypeText(f.get<QLineEdit>("nAzonosito"), u"ZÁR-2"_s);
        answerer.answer(u"Mégsem"_s);
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->text(), u"ZÁR-2"_s);
        answerer.answer(u"OK"_s);
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen(), (QStringList {question, question}));
        QCOMPARE(f.field(id, "Azonosito").toString(), u"ZÁR-1"_s);

        // Only an owner removed, or only the detailed description touched: edits as well.
        f.open(id);
        f.press("Button11");
        answerer.answer(u"OK"_s);
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen().size(), 3);
        QCOMPARE(f.ownersOf(id).size(), 2);
        f.open(id);
        f.window->findChild<QCheckBox *>(u"rWcFurdo"_s)->click();
        answerer.answer(u"OK"_s);
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen().size(), 4);

        // "Mégsem" is the user's own "throw it away": no question.
        f.open(id);
        f.typeNumber("nAr", u"1"_s);
        f.press("BitBtn1");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(answerer.seen().size(), 4);
        QCOMPARE(f.field(id, "Ar").toInt(), 25000000);
    }

    void failedSaveChangesNothing()
    {
        ModifyFixture f;
        const int id = f.addFullProperty(u"HIBA"_s);
        for (int slot = 1; slot <= 2; ++slot) {
            f.writePhoto(photoFileName(id, slot), 40 + 10 * slot);
            f.c.tEgyszeru.setValue(QStringLiteral("Kep%1").arg(slot), photoFileName(id, slot));
        }
        f.c.tEgyszeru.post();
        f.db.exec(QStringLiteral("CREATE TRIGGER fail BEFORE UPDATE ON reszletes BEGIN SELECT "
                                 "RAISE(ABORT, 'teszt'); END"));

        f.open(id);
        const QStringList before = f.snapshot();
        DialogAnswerer answerer;
        f.changePhotos(answerer, [&](QListWidget *list) { f.removePhoto(list, 0); });
        f.press("Button11");
        f.typeNumber("nAr", u"123"_s);
        answerer.answer(u"OK"_s);
        f.press("BitBtn2");
        QVERIFY(answerer.lastSeen().contains(u"teszt"_s));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 123.0); // the edits are still there

        // An unreadable third photo stops the save before anything is written.
        f.db.exec(QStringLiteral("DROP TRIGGER fail"));
        const QString broken = f.dir.filePath(u"rossz.jpg"_s);
        jpegfiles::write(broken, "nem kép");
        f.changePhotos(answerer, [&](QListWidget *) {
            f.ujKep.addPhoto(photoPath(f.dir.path(), photoFileName(id, 1)));
            f.ujKep.addPhoto(broken);
        });
        QCOMPARE(f.photoCount(), u"3"_s);
        answerer.answer(u"OK"_s);
        f.press("BitBtn2");
        QVERIFY(answerer.lastSeen().contains(u"rossz.jpg"_s));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.snapshot(), before);

        // Once the cause is gone the same window saves onto the same property.
        f.changePhotos(answerer, [&](QListWidget *list) { f.removePhoto(list, 2); });
        f.press("BitBtn2");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.field(id, "Ar").toInt(), 123);
        QCOMPARE(f.ownersOf(id).size(), 1);
        QCOMPARE(f.photoWidth(photoFileName(id, 1)), 60);
        QCOMPARE(f.photoWidth(photoFileName(id, 2)), 50);
    }
};

QTEST_MAIN(TestModosit)
#include "test_modosit.moc"
