#include "controls.h"
#include "cursorgrid.h"
#include "dialoganswerer.h"
#include "modosit.h"
#include "numberedit.h"
#include "optionlists.h"
#include "registerfixture.h"
#include "typing.h"

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

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// The modify window over a fixture register, shown for the current property as the search
// panel's "Módosítás" does.
struct ModifyFixture : RegisterFixture
{
    std::unique_ptr<TfModosit> window;

    ModifyFixture()
    {
        addTypes({s("Családi ház"), s("Lakás"), s("Telek")});
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
        return single(
            QStringLiteral("SELECT \"%1\" FROM egyszeru WHERE Id = %2").arg(s(name)).arg(id));
    }
    // Works the photo list window as a user would: `work` runs while it is open.
    void changePhotos(DialogAnswerer &answerer, const std::function<void(QListWidget *)> &work)
    {
        answerer.handle([this, work](QWidget *) {
            work(ujKep.findChild<QListWidget *>(s("pKepLista")));
            QTest::mouseClick(ujKep.findChild<QPushButton *>(s("pVissza")), Qt::LeftButton);
        });
        press("nKepValtoztat");
    }
    void removePhoto(QListWidget *list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        QTest::mouseClick(ujKep.findChild<QPushButton *>(s("pTorol")), Qt::LeftButton);
    }
    // A property with owners, principal, descriptions, flags and a detailed description.
    int addFullProperty(const QString &identifier)
    {
        const int id = addProperty({{s("Azonosito"), identifier},
                                    {s("TipusId"), 1},
                                    {s("TipusText"), s("Lakás")},
                                    {s("MinimumAr"), 20000000},
                                    {s("Ar"), 25000000},
                                    {s("EpitesEve"), 1990},
                                    {s("Szoba"), 3},
                                    {s("TelekTeruletMertek"), s("négyszögöl")},
                                    {s("CimIrsz"), s("6720")},
                                    {s("CimVaros"), s("Szeged")},
                                    {s("CimMegye"), s("Csongrád")},
                                    {s("CimUtca"), s("Kárász utca")},
                                    {s("MegbizoNev"), s("Kiss Péter")},
                                    {s("Apro"), true},
                                    {s("Web"), false},
                                    {s("LeirasMagyar"), s("első sor\r\nmásodik sor")},
                                    {s("Start"), s("2026. 01. 02. 10:00:00")},
                                    {s("Print"), true},
                                    {s("Feltoltve"), true},
                                    {s("Reszletes"), true}});
        addOwner(c.tTulajdonos, id, s("Kiss Péter"), s("111"));
        addOwner(c.tTulajdonos, id, s("Nagy Anna"), s("222"));
        c.tTulajdonos.close();
        addDetailed(id, {{s("AlakId"), 2}, {s("KomfortId"), 1}, {s("Szoba"), 3}});
        return id;
    }
};

} // namespace

class TestModosit : public QObject
{
    Q_OBJECT

private slots:
    void loadEditAndSave()
    {
        ModifyFixture f;
        const int other = f.addFullProperty(s("MÁS-1"));
        const int id = f.addFullProperty(s("P-1"));
        f.open(id);
        QCOMPARE(f.window->windowTitle(), s("Pelmora - Adatok módosítása"));
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->text(), s("P-1"));
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->maxLength(), 20);
        QCOMPARE(f.get<QComboBox>("nTipus")->currentText(), s("Lakás"));
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 25000000.0);
        QCOMPARE(f.get<QComboBox>("nCimVaros")->currentText(), s("Szeged"));
        QCOMPARE(f.get<QComboBox>("nTelekTeruletMertek")->currentText(), s("négyszögöl"));
        QCOMPARE(f.get<QPlainTextEdit>("nLeirasMagyar")->toPlainText(), s("első sor\nmásodik sor"));
        QVERIFY(f.get<QCheckBox>("nAproCheck")->isChecked());
        QVERIFY(!f.get<QCheckBox>("nWebCheck")->isChecked());
        QVERIFY(f.get<QCheckBox>("nReszletes")->isChecked());
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 2);
        QCOMPARE(f.photoCount(), s("0"));
        QCOMPARE(f.get<RadioChoice>("rAlak")->index(), 2);
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 3.0);
        const int detailedId =
            f.single(QStringLiteral("SELECT Id FROM reszletes WHERE EgyszeruId = %1").arg(id))
                .toInt();

        // "Mégsem" writes nothing, however much was changed.
        const QStringList before = f.snapshot();
        f.typeNumber("nAr", s("1"));
        f.press("Button11");
        f.press("BitBtn1");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.snapshot(), before);

        // The next showing has forgotten the abandoned edits.
        f.open(id);
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 25000000.0);
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 2);

        f.typeNumber("nAr", s("30000000"));
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 30000000.0);
        f.typeNumber("nEpitesEve", s("1995"));
        retypeText(f.get<QLineEdit>("nCimUtca"), s("Tisza Lajos körút"));
        // The second owner goes, a new one comes through the owner dialog.
        auto *grid = f.get<CursorGrid>("DBGrid3");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 0)).center());
        f.press("Button11");
        DialogAnswerer answerer;
        answerer.handle([](QWidget *dialog) {
            typeText(dialog->findChild<QLineEdit *>(s("hNev")), s("Új Ödön"));
            typeText(dialog->findChild<QLineEdit *>(s("hTelefon")), s("333"));
            QTest::keyClick(dialog->findChild<QLineEdit *>(s("hTelefon")), Qt::Key_Return);
        });
        f.press("Button9");
        // The principal taken from the first owner.
        retypeText(f.get<QLineEdit>("nMegbizoNev"), s("valaki más"));
        f.press("Button1");
        QCOMPARE(f.get<QLineEdit>("nMegbizoNev")->text(), s("Kiss Péter"));
        QCOMPARE(f.get<QLineEdit>("nMegbizoTelefon")->text(), s("111"));
        f.get<QPlainTextEdit>("nLeirasAngol")->setFocus();
        QTest::keyClicks(f.get<QPlainTextEdit>("nLeirasAngol"), s("one"));
        QTest::keyClick(f.get<QPlainTextEdit>("nLeirasAngol"), Qt::Key_Return);
        QTest::keyClicks(f.get<QPlainTextEdit>("nLeirasAngol"), s("two"));
        QVERIFY(f.window->isVisible()); // Enter in a memo breaks the line only
        f.typeNumber("rSzoba", s("4"));

        QSignalSpy saved(f.window.get(), &TfModosit::propertySaved);
        QTest::keyClick(f.get<QLineEdit>("nCimUtca"), Qt::Key_Return);
        QCOMPARE(saved.count(), 1);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.field(id, "Ar").toDouble(), 30000000.0);
        QCOMPARE(f.field(id, "EpitesEve").toInt(), 1995);
        QCOMPARE(f.field(id, "CimUtca").toString(), s("Tisza Lajos körút"));
        QCOMPARE(f.field(id, "TipusText").toString(), s("Lakás"));
        QCOMPARE(f.field(id, "LeirasAngol").toString(), s("one\r\ntwo"));
        QCOMPARE(f.field(id, "Feltoltve").toInt(), 0);
        QVERIFY(!f.field(id, "Change").toString().isEmpty());
        QCOMPARE(f.field(id, "Start").toString(), s("2026. 01. 02. 10:00:00"));
        QCOMPARE(f.field(id, "Print").toInt(), 1);
        QCOMPARE(f.field(id, "Stop").toString(), QString());
        QCOMPARE(f.ownersOf(id), (QStringList {s("Kiss Péter/111"), s("Új Ödön/333")}));
        QCOMPARE(f.ownersOf(other), (QStringList {s("Kiss Péter/111"), s("Nagy Anna/222")}));
        QCOMPARE(
            f.single(QStringLiteral("SELECT count(*) FROM reszletes WHERE EgyszeruId = %1").arg(id))
                .toInt(),
            1);
        QCOMPARE(f.single(QStringLiteral("SELECT Id FROM reszletes WHERE EgyszeruId = %1").arg(id))
                     .toInt(),
                 detailedId);
        QCOMPARE(
            f.single(QStringLiteral("SELECT Szoba FROM reszletes WHERE Id = %1").arg(detailedId))
                .toInt(),
            4);
        QCOMPARE(
            f.single(QStringLiteral("SELECT AlakId FROM reszletes WHERE Id = %1").arg(detailedId))
                .toInt(),
            2);
        QCOMPARE(f.c.tEgyszeru.integer(s("Id")), id); // still selected in the search list
    }

    void photosMoveUp()
    {
        ModifyFixture f;
        const int id = f.addProperty({{s("Azonosito"), s("KEP")}});
        for (int slot = 1; slot <= 4; ++slot) {
            f.writePhoto(photoFileName(id, slot), 40 + 10 * slot);
            f.c.tEgyszeru.setValue(QStringLiteral("Kep%1").arg(slot), photoFileName(id, slot));
        }
        f.c.tEgyszeru.post();
        f.open(id);
        QCOMPARE(f.photoCount(), s("4"));
        QCOMPARE(f.ujKep.photos().value(0), photoPath(f.dir.path(), photoFileName(id, 1)));

        DialogAnswerer answerer;
        f.changePhotos(answerer, [&](QListWidget *list) { f.removePhoto(list, 0); });
        QCOMPARE(f.photoCount(), s("3"));
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
        const int id = f.addProperty({{s("Azonosito"), s("KEPES")}});
        f.writePhoto(photoFileName(id, 1), 50);
        f.c.tEgyszeru.setValue(s("Kep1"), photoFileName(id, 1));
        f.c.tEgyszeru.post();
        const QString picked = f.dir.filePath(s("uj.jpg"));
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
        const int with = f.addFullProperty(s("VAN"));
        const int without = f.addProperty({{s("Azonosito"), s("NINCS")}});
        const int missing =
            f.addProperty({{s("Azonosito"), s("HIANYZIK")}, {s("Reszletes"), true}});
        auto *pages = f.get<QTabWidget>("PageControl1");

        f.open(with);
        QVERIFY(pages->isTabEnabled(1));
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 3.0);
        f.press("BitBtn1");

        // Without a record the page starts afresh, not with the previous property's values.
        f.open(without);
        QVERIFY(!pages->isTabEnabled(1));
        QVERIFY(f.get<QScrollArea>("ScrollBox1")->isHidden());
        QCOMPARE(f.get<RadioChoice>("rAlak")->caption(), s("nincs"));
        QCOMPARE(f.get<RadioChoice>("rKomfort")->caption(), s("összkomfortos"));
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
                 s("NINCS"));

        // Marked as having one, yet without a record: a fresh page, and saving makes exactly one.
        f.open(with);
        f.press("BitBtn1");
        f.open(missing);
        QVERIFY(pages->isTabEnabled(1));
        QCOMPARE(f.get<NumberEdit>("rSzoba")->value(), 0.0);
        QCOMPARE(f.get<RadioChoice>("rAlak")->caption(), s("nincs"));
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
        const int mine = f.addProperty({{s("Azonosito"), s("ÁRPÁD-1")},
                                        {s("TipusId"), 0},
                                        {s("TipusText"), s("Családi ház")}});
        f.addProperty({{s("Azonosito"), s("Ödön-2")}});
        const int old = f.addProperty(
            {{s("Azonosito"), s("RÉGI")}, {s("TipusId"), 7}, {s("TipusText"), s("Régi típus")}});

        f.open(mine);
        const QStringList before = f.snapshot();
        DialogAnswerer answerer;
        answerer.answer(s("OK"));
        retypeText(f.get<QLineEdit>("nAzonosito"), s("ÖDÖN-2"));
        f.press("BitBtn2");
        QCOMPARE(answerer.lastSeen(), s("Van már ilyen azonosító!"));
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->focusWidget() == f.get<QLineEdit>("nAzonosito"));
        QCOMPARE(f.snapshot(), before);

        // Its own identifier in other letters is no clash; nor is a prefix of another's.
        for (const QString &identifier : {s("árpád-1"), s("O'Brien 1"), s("Ödön*")}) {
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
        f.typeNumber("nAr", s("5"));
        f.press("BitBtn2");
        QCOMPARE(f.field(old, "TipusId").toInt(), 7);
        QCOMPARE(f.field(old, "TipusText").toString(), s("Régi típus"));
        QCOMPARE(f.field(old, "Ar").toInt(), 5);
    }

    void highRecordNumberKeepsOwners()
    {
        ModifyFixture f;
        f.db.exec(
            QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('egyszeru', 39999)"));
        const int id = f.addProperty({{s("Azonosito"), s("NAGY")}});
        QCOMPARE(id, 40000);
        f.addOwner(f.c.tTulajdonos, id, s("Tóth Ede"), s("444"));
        f.c.tTulajdonos.close();
        f.open(id);
        QCOMPARE(f.get<CursorGrid>("DBGrid3")->model()->rowCount(), 1);
        f.press("BitBtn2");
        QCOMPARE(f.ownersOf(id), QStringList {s("Tóth Ede/444")});
    }

    void frameCloseAsksBeforeEditsAreLost()
    {
        ModifyFixture f;
        const int id = f.addFullProperty(s("ZÁR-1"));
        const QString question = s("A beírt, még nem rögzített adatok elvesznek. Folytatja?");
        DialogAnswerer answerer;

        // Shown and closed untouched: nothing to lose, nothing asked.
        f.open(id);
        QVERIFY(f.window->close());
        QVERIFY(answerer.seen().isEmpty());

        // An edited field: declining keeps the window and the edit.
        f.open(id);
        retypeText(f.get<QLineEdit>("nAzonosito"), s("ZÁR-2"));
        answerer.answer(s("Mégsem"));
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.get<QLineEdit>("nAzonosito")->text(), s("ZÁR-2"));
        answerer.answer(s("OK"));
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen(), (QStringList {question, question}));
        QCOMPARE(f.field(id, "Azonosito").toString(), s("ZÁR-1"));

        // Only an owner removed, or only the detailed description touched: edits as well.
        f.open(id);
        f.press("Button11");
        answerer.answer(s("OK"));
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen().size(), 3);
        QCOMPARE(f.ownersOf(id).size(), 2);
        f.open(id);
        f.window->findChild<QCheckBox *>(s("rWcFurdo"))->click();
        answerer.answer(s("OK"));
        QVERIFY(f.window->close());
        QCOMPARE(answerer.seen().size(), 4);

        // "Mégsem" is the user's own "throw it away": no question.
        f.open(id);
        f.typeNumber("nAr", s("1"));
        f.press("BitBtn1");
        QVERIFY(!f.window->isVisible());
        QCOMPARE(answerer.seen().size(), 4);
        QCOMPARE(f.field(id, "Ar").toInt(), 25000000);
    }

    void failedSaveChangesNothing()
    {
        ModifyFixture f;
        const int id = f.addFullProperty(s("HIBA"));
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
        f.typeNumber("nAr", s("123"));
        answerer.answer(s("OK"));
        f.press("BitBtn2");
        QVERIFY(answerer.lastSeen().contains(s("teszt")));
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.snapshot(), before);
        QCOMPARE(f.get<NumberEdit>("nAr")->value(), 123.0); // the edits are still there

        // An unreadable third photo stops the save before anything is written.
        f.db.exec(QStringLiteral("DROP TRIGGER fail"));
        const QString broken = f.dir.filePath(s("rossz.jpg"));
        jpegfiles::write(broken, "nem kép");
        f.changePhotos(answerer, [&](QListWidget *) {
            f.ujKep.addPhoto(photoPath(f.dir.path(), photoFileName(id, 1)));
            f.ujKep.addPhoto(broken);
        });
        QCOMPARE(f.photoCount(), s("3"));
        answerer.answer(s("OK"));
        f.press("BitBtn2");
        QVERIFY(answerer.lastSeen().contains(s("rossz.jpg")));
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
