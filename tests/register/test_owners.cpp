#include "register/ownergroup.h"
#include "register/registerwindows.h"
#include "register/tulajhozzaad.h"
#include "register/tulajmodosit.h"
#include "register/workingowners.h"
#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "tests/register/windowchecks.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/tempdatadir.h"
#include "widgets/cursorgrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>
#include <memory>

namespace {

struct Owner
{
    QString nev, irsz, varos, utca, szigsz, anyja, hanyad, telefon;
    QStringList values() const { return {nev, irsz, varos, utca, szigsz, anyja, hanyad, telefon}; }
};

// The owner windows on a real working list, wired up as start-up does it.
struct OwnerFixture
{
    TempDataDir dir;
    Database db {dir.path()};
    Cursor tdTulaj {db, tables::dtulaj, false};
    RegisterWindows windows;
    TfTulajHozzaad hozzaad {tdTulaj};
    TfTulajModosit modosit {tdTulaj};
    std::unique_ptr<OwnerGroup> group;

    OwnerFixture()
    {
        tdTulaj.open();
        windows.fTulajHozzaad = &hozzaad;
        windows.fTulajModosit = &modosit;
        group = std::make_unique<OwnerGroup>(tdTulaj, windows);
        group->resize(700, 250);
        group->show();
    }

    QPushButton *button(const char *name) const
    {
        return group->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QString cell(int row, int column) const
    {
        return group->grid()->model()->index(row, column).data().toString();
    }
    QStringList stored(int position) const
    {
        const Record r = tdTulaj.recordAt(position);
        QStringList values;
        for (const char *field : ownerFields)
            values << r.text(QString::fromLatin1(field));
        return values;
    }
};

QLineEdit *edit(QWidget *dialog, const char *field)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("h") + QString::fromLatin1(field));
}

// Types an owner into whichever dialog is up; the field order is the dialog's tab order.
void typeOwner(QWidget *dialog, const Owner &owner)
{
    const QStringList values = owner.values();
    for (int i = 0; i < values.size(); ++i) {
        QLineEdit *e = edit(dialog, ownerFields[i]);
        e->selectAll();
        QTest::keyClicks(e, values[i]);
    }
}

// Answers the next dialog with `action`, closing it should the action fail half-way.
void onDialog(DialogAnswerer &answerer, std::function<void(QDialog *)> action)
{
    answerer.handle([action](QWidget *window) {
        auto *dialog = qobject_cast<QDialog *>(window);
        auto closeLeftOpen = qScopeGuard([dialog] {
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
        action(dialog);
    });
}

} // namespace

// Adding, changing and removing owners of the property being entered, through the grid's
// buttons and the two dialogs.
class TestOwners : public QObject
{
    Q_OBJECT

private slots:
    void addingOwners()
    {
        OwnerFixture f;
        QCOMPARE(f.group->title(), QStringLiteral(" Tulajdonos "));
        QCOMPARE(f.group->grid()->objectName(), QStringLiteral("DBGrid3"));
        QCOMPARE(f.group->grid()->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Név"));
        QCOMPARE(f.group->grid()->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Cím"));
        QCOMPARE(f.group->grid()->model()->headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("Tulajdoni hányad"));
        QCOMPARE(f.button("Button9")->text(), QStringLiteral("Hozzáad"));
        QCOMPARE(f.button("Button11")->text(), QStringLiteral("Töröl"));
        QCOMPARE(f.button("Button12")->text(), QStringLiteral("Módosít"));

        const Owner kiss {QStringLiteral("Kiss Peter"), QStringLiteral("67201"),
                          QStringLiteral("Szeged"),     QStringLiteral("Karasz u. 5."),
                          QStringLiteral("AB123456"),   QStringLiteral("Nagy Anna"),
                          QStringLiteral("1/2"),        QStringLiteral("06-62-123-456")};
        DialogAnswerer answerer;
        QString caption;
        bool focusOnName = false;
        onDialog(answerer, [&](QDialog *dialog) {
            caption = dialog->windowTitle();
            focusOnName = dialog->focusWidget() == edit(dialog, "Nev");
            typeOwner(dialog, kiss);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(f.button("Button9"), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Pelmora - Tulajdonos hozzáadása"));
        QVERIFY(focusOnName);
        QCOMPARE(f.tdTulaj.recordCount(), 1);
        Owner expected = kiss;
        expected.irsz = QStringLiteral("6720"); // the field keeps four characters
        QCOMPARE(f.stored(0), expected.values());
        QCOMPARE(f.cell(0, 0), QStringLiteral("Kiss Peter"));
        QCOMPARE(f.cell(0, 1), QStringLiteral("6720 Szeged, Karasz u. 5."));
        QCOMPARE(f.cell(0, 2), QStringLiteral("1/2"));

        // The next showing starts empty; Esc leaves the list as it was.
        QStringList shownTexts;
        onDialog(answerer, [&](QDialog *dialog) {
            for (const char *field : ownerFields)
                shownTexts << edit(dialog, field)->text();
            QTest::keyClicks(edit(dialog, "Nev"), QStringLiteral("Senki"));
            QTest::keyClick(edit(dialog, "Nev"), Qt::Key_Escape);
        });
        QTest::mouseClick(f.button("Button9"), Qt::LeftButton);
        QCOMPARE(shownTexts, QStringList(8, QString()));
        QCOMPARE(f.tdTulaj.recordCount(), 1);

        // Enter stores too, and an owner with no name or address is taken as it is.
        onDialog(answerer, [&](QDialog *dialog) {
            QTest::keyClicks(edit(dialog, "Hanyad"), QStringLiteral("1/2"));
            QTest::keyClick(edit(dialog, "Hanyad"), Qt::Key_Return);
        });
        QTest::mouseClick(f.button("Button9"), Qt::LeftButton);
        QCOMPARE(f.tdTulaj.recordCount(), 2);
        QCOMPARE(f.cell(1, 0), QString());
        QCOMPARE(f.cell(1, 1), QStringLiteral(" , "));
        QCOMPARE(f.cell(1, 2), QStringLiteral("1/2"));
        QCOMPARE(answerer.pending(), 0);
    }

    void changingAndRemoving()
    {
        OwnerFixture f;
        DialogAnswerer answerer;
        for (const char *name : {"Elso", "Masodik", "Harmadik"}) {
            onDialog(answerer, [name](QDialog *dialog) {
                QTest::keyClicks(edit(dialog, "Nev"), QString::fromLatin1(name));
                QTest::keyClicks(edit(dialog, "Telefon"), QStringLiteral("111"));
                QTest::keyClick(dialog, Qt::Key_Return);
            });
            QTest::mouseClick(f.button("Button9"), Qt::LeftButton);
        }
        QCOMPARE(f.tdTulaj.recordCount(), 3);

        // Selecting the second row and changing it shows that owner's values first.
        QTest::mouseClick(
            f.group->grid()->viewport(), Qt::LeftButton, {},
            f.group->grid()->visualRect(f.group->grid()->model()->index(1, 0)).center());
        QCOMPARE(f.tdTulaj.text(QStringLiteral("Nev")), QStringLiteral("Masodik"));
        QString caption, shownName, shownPhone;
        onDialog(answerer, [&](QDialog *dialog) {
            caption = dialog->windowTitle();
            shownName = edit(dialog, "Nev")->text();
            shownPhone = edit(dialog, "Telefon")->text();
            edit(dialog, "Telefon")->selectAll();
            QTest::keyClicks(edit(dialog, "Telefon"), QStringLiteral("222"));
            edit(dialog, "Utca")->setFocus();
            QTest::keyClicks(edit(dialog, "Utca"), QStringLiteral("Fo utca 1."));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(f.button("Button12"), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Pelmora - Tulajdonos módosítása"));
        QCOMPARE(shownName, QStringLiteral("Masodik"));
        QCOMPARE(shownPhone, QStringLiteral("111"));
        QCOMPARE(f.stored(1)[7], QStringLiteral("222"));
        QCOMPARE(f.cell(1, 1), QStringLiteral(" , Fo utca 1."));
        QCOMPARE(f.tdTulaj.recordCount(), 3);

        // "Mégsem" changes nothing, however much was typed.
        onDialog(answerer, [&](QDialog *dialog) {
            edit(dialog, "Nev")->selectAll();
            QTest::keyClicks(edit(dialog, "Nev"), QStringLiteral("Valaki mas"));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(f.button("Button12"), Qt::LeftButton);
        QCOMPARE(f.stored(1)[0], QStringLiteral("Masodik"));

        // "Töröl" asks nothing and the next owner becomes the selected one.
        QTest::mouseClick(f.button("Button11"), Qt::LeftButton);
        QCOMPARE(f.tdTulaj.recordCount(), 2);
        QCOMPARE(f.cell(0, 0), QStringLiteral("Elso"));
        QCOMPARE(f.cell(1, 0), QStringLiteral("Harmadik"));
        QCOMPARE(f.tdTulaj.text(QStringLiteral("Nev")), QStringLiteral("Harmadik"));
        QTRY_COMPARE(f.group->grid()->currentIndex().row(), 1);
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(answerer.seen().size(), 5); // five dialogs, no question or message among them
    }

    void emptyListAndEmptying()
    {
        OwnerFixture f;
        // With no owners, "Töröl" and "Módosít" do nothing and open nothing.
        QVERIFY(!opensAWindow([&] {
            QTest::mouseClick(f.button("Button12"), Qt::LeftButton);
            QTest::mouseClick(f.button("Button11"), Qt::LeftButton);
        }));
        QCOMPARE(f.tdTulaj.recordCount(), 0);

        for (int i = 0; i < 3; ++i) {
            f.tdTulaj.append();
            f.tdTulaj.setValue(QStringLiteral("Nev"), QStringLiteral("Tulaj %1").arg(i));
            f.tdTulaj.post();
        }
        f.tdTulaj.moveTo(1);
        emptyWorkingOwners(f.tdTulaj);
        QCOMPARE(f.tdTulaj.recordCount(), 0);
        QCOMPARE(f.group->grid()->model()->rowCount(), 0);

        // A closed list is opened first.
        f.tdTulaj.append();
        f.tdTulaj.post();
        f.tdTulaj.close();
        emptyWorkingOwners(f.tdTulaj);
        QVERIFY(f.tdTulaj.isOpen());
        QCOMPARE(f.tdTulaj.recordCount(), 0);
    }
};

QTEST_MAIN(TestOwners)
#include "test_owners.moc"
