#include "register/ownergroup.h"
#include "register/propertystore.h"
#include "register/workingowners.h"
#include "store/storeerror.h"
#include "tests/register/registerfixture.h"
#include "tests/support/dialoganswerer.h"
#include "tests/support/helperprocess.h"
#include "widgets/cursorgrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

NewProperty newProperty(const QString &identifier)
{
    NewProperty property;
    property.fields = {{QStringLiteral("Azonosito"), identifier},
                       {QStringLiteral("TipusText"), QStringLiteral("Lakás")},
                       {QStringLiteral("Ar"), 18000000},
                       {QStringLiteral("CimVaros"), QStringLiteral("Szeged")},
                       {QStringLiteral("CimMegye"), QStringLiteral("Csongrád")}};
    return property;
}

QPushButton *button(QWidget *group, const char *name)
{
    return group->findChild<QPushButton *>(QString::fromLatin1(name));
}

// Presses a button of the group that opens an owner dialog, types the name and confirms.
void ownerThroughDialog(QWidget *group, const char *buttonName, const QString &name)
{
    DialogAnswerer answerer;
    answerer.handle([name](QWidget *dialog) {
        auto *nev = dialog->findChild<QLineEdit *>(QStringLiteral("hNev"));
        nev->setText(name);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(button(group, buttonName), Qt::LeftButton);
    QCOMPARE(answerer.pending(), 0);
}

QStringList gridNames(const OwnerGroup &group)
{
    QStringList out;
    const QAbstractItemModel *model = group.grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, 0).data().toString();
    return out;
}

} // namespace

// The new-property panel and the modify window, and two copies of the program, each keep the
// owners they are working on to themselves, and each property is stored with its own.
class TestWorkingOwners : public QObject
{
    Q_OBJECT

    static QStringList ownersOf(const RegisterFixture &f, int id)
    {
        QStringList out;
        QSqlQuery query(f.db.connection());
        query.exec(QStringLiteral("SELECT Nev FROM tulajdonos WHERE EgyszeruId = %1 ORDER BY rowid")
                       .arg(id));
        while (query.next())
            out << query.value(0).toString();
        return out;
    }

private slots:
    void newAndModifyWindowsKeepTheirOwn()
    {
        RegisterFixture f;
        const int existing = f.addProperty({{QStringLiteral("Azonosito"), QStringLiteral("R-1")}});
        f.addOwner(f.c.tTulajdonos, existing, QStringLiteral("Eredeti Ede"));
        f.c.tTulajdonos.close();

        // Both windows' owner groups open the same long-lived dialogs, as in the program.
        OwnerGroup newOwners(f.c.tdTulaj, f.windows);
        OwnerGroup modifyOwners(f.c.modifyWorkingOwners, f.windows);
        newOwners.show();
        modifyOwners.show();
        ownerThroughDialog(&newOwners, "Button9", QStringLiteral("Új Anna"));
        f.selectProperty(existing);
        loadWorkingOwners(f.c, existing);
        ownerThroughDialog(&modifyOwners, "Button9", QStringLiteral("Második Géza"));
        modifyOwners.grid()->selectRow(0);
        ownerThroughDialog(&modifyOwners, "Button12", QStringLiteral("Eredeti Edina"));
        ownerThroughDialog(&newOwners, "Button9", QStringLiteral("Új Bence"));

        QCOMPARE(gridNames(newOwners), QStringList({"Új Anna", "Új Bence"}));
        QCOMPARE(gridNames(modifyOwners), QStringList({"Eredeti Edina", "Második Géza"}));

        // The modified property gets the modify window's list, the new one the panel's.
        PropertyChanges changes;
        changes.fields = {{QStringLiteral("Azonosito"), QStringLiteral("R-1")}};
        saveModifiedProperty(f.c, changes);
        const int stored = storeNewProperty(f.c, newProperty(QStringLiteral("U-1")));
        QCOMPARE(ownersOf(f, existing), QStringList({"Eredeti Edina", "Második Géza"}));
        QCOMPARE(ownersOf(f, stored), QStringList({"Új Anna", "Új Bence"}));

        // Emptying the panel's list after its store leaves the modify window's alone.
        emptyWorkingOwners(f.c.tdTulaj);
        QVERIFY(gridNames(newOwners).isEmpty());
        QCOMPARE(gridNames(modifyOwners), QStringList({"Eredeti Edina", "Második Géza"}));
    }

    void twoCopiesStoreTheirOwn()
    {
        RegisterFixture f;
        HelperProcess other;
        QVERIFY(other.start(QStringLiteral(PELMORA_OWNERLISTCOPY), {f.dir.path()}));

        // Both copies enter a property at the same time.
        f.append(f.c.tdTulaj, {{QStringLiteral("Nev"), QStringLiteral("Első Aladár")}});
        QCOMPARE(other.ask(QStringLiteral("add Másik Bea")), QStringLiteral("ok"));
        f.append(f.c.tdTulaj, {{QStringLiteral("Nev"), QStringLiteral("Első Antal")}});
        QCOMPARE(other.ask(QStringLiteral("add Másik Bálint")), QStringLiteral("ok"));
        QCOMPARE(other.ask(QStringLiteral("list")), QStringLiteral("Másik Bea|Másik Bálint"));
        QCOMPARE(f.c.tdTulaj.recordCount(), 2);

        // The other stores first and empties its list; this copy's list is untouched.
        const QString reply = other.ask(QStringLiteral("store M-1"));
        QVERIFY2(reply.startsWith(QStringLiteral("stored ")), qPrintable(reply));
        const int otherId = reply.section(QLatin1Char(' '), 1).toInt();
        QCOMPARE(other.ask(QStringLiteral("list")), QString());
        const int mineId = storeNewProperty(f.c, newProperty(QStringLiteral("E-1")));
        QVERIFY(mineId != otherId);

        QCOMPARE(ownersOf(f, otherId), QStringList({"Másik Bea", "Másik Bálint"}));
        QCOMPARE(ownersOf(f, mineId), QStringList({"Első Aladár", "Első Antal"}));
        QVERIFY(other.exit());
    }
};

QTEST_MAIN(TestWorkingOwners)
#include "test_workingowners.moc"
