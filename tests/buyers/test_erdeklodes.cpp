#include "store/changelog.h"
#include "tests/buyers/requestfixture.h"
#include "widgets/cursorgrid.h"

#include <QGroupBox>
#include <QTableView>

// The requests window, driven through its grid, boxes and buttons as a user would.
class TestErdeklodes : public QObject
{
    Q_OBJECT

private:
    static QString cell(QWidget *w, int row, int column)
    {
        QAbstractItemModel *model = control<CursorGrid>(w, QStringLiteral("DBGrid1"))->model();
        return model->data(model->index(row, column)).toString();
    }

    static void selectRow(QWidget *w, int row)
    {
        auto *grid = control<CursorGrid>(w, QStringLiteral("DBGrid1"));
        grid->setFocus();
        grid->selectionModel()->setCurrentIndex(grid->model()->index(row, 1),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
    }

    static int rows(QWidget *w)
    {
        return control<CursorGrid>(w, QStringLiteral("DBGrid1"))->model()->rowCount();
    }

    // The office's log, oldest first, as "action | details".
    static QStringList logged(RequestFixture &f)
    {
        QStringList entries;
        for (const changelog::Entry &entry : changelog::ofProperty(f.db, 0))
            entries.prepend(entry.action + QStringLiteral(" | ") + entry.details);
        return entries;
    }

    // Two properties and two requests, of which the first fits.
    static void fill(RequestFixture &f)
    {
        f.addProperty(QStringLiteral("A-1"), QStringLiteral("Budapest"), QStringLiteral("Lakás"),
                      10000000);
        f.addProperty(QStringLiteral("A-2"), QStringLiteral("Budaörs"),
                      QStringLiteral("Családi ház"), 30000000);
        f.addRequest(QStringLiteral("Első"), QStringLiteral("buda"), QStringLiteral("Lak"), 0,
                     20000000);
        f.addRequest(QStringLiteral("Második"), QStringLiteral("Szeged"), QString(), 0, 1e9);
    }

    // "Ingatlant keres" from the side menu, and the steps in the window it opens.
    static void inRequestsWindow(RequestFixture &f, const std::function<void(QWidget *)> &steps)
    {
        throughModal([&] { f.fErdeklodes->openFromMenu(); }, steps);
    }

private slots:
    void openFromMenu()
    {
        RequestFixture f;
        fill(f);
        inRequestsWindow(f, [&](QWidget *w) {
            QCOMPARE(w->objectName(), QStringLiteral("fErdeklodes"));
            QCOMPARE(w->windowTitle(), QStringLiteral("Pelmora - Ingatlant keres"));
            QAbstractItemModel *model = control<CursorGrid>(w, QStringLiteral("DBGrid1"))->model();
            QStringList titles;
            for (int c = 0; c < model->columnCount(); ++c)
                titles << model->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(titles,
                     (QStringList {QStringLiteral("Találat"), QStringLiteral("Érdeklődő"),
                                   QStringLiteral("Ingatlan típusa"), QStringLiteral("Település"),
                                   QStringLiteral("Időpont")}));
            QCOMPARE(rows(w), 2);
            QCOMPARE(cell(w, 0, 0), QStringLiteral("X"));
            QCOMPARE(cell(w, 1, 0), QString());
            QCOMPARE(cell(w, 0, 1), QStringLiteral("Első"));
            QCOMPARE(cell(w, 0, 2), QStringLiteral("Lak"));
            QCOMPARE(cell(w, 0, 3), QStringLiteral("buda"));
            QCOMPARE(cell(w, 0, 4), QStringLiteral("2026. 03. 01. 10:00:00"));
            // The run leaves the last request selected, and the boxes show it.
            QCOMPARE(shown(w, QStringLiteral("Nev")), QStringLiteral("Második"));
            QCOMPARE(shown(w, QStringLiteral("Telepules")), QStringLiteral("Szeged"));
            QCOMPARE(shown(w, QStringLiteral("Arig")), QStringLiteral("1 000 000 000 Ft"));
            QStringList groups;
            for (const QGroupBox *group : w->findChildren<QGroupBox *>())
                groups << group->title();
            QCOMPARE(groups,
                     (QStringList {QStringLiteral(" Keresett ingatlan "),
                                   QStringLiteral(" Érdeklődő adatai ")}));
            click(w, QStringLiteral("BitBtn1"));
        });
        QVERIFY(!f.fErdeklodes->isVisible());
        QVERIFY(!f.fErdeklodes->tErdeklodes().isOpen());
        QVERIFY(f.stored(0).boolean(QStringLiteral("Utkozes")));
        QVERIFY(!f.stored(1).boolean(QStringLiteral("Utkozes")));
        QCOMPARE(f.cursors.tEgyszeru.filterText(),
                 QStringLiteral(
                     "Ar >= 0 and Ar <= 1000000000 and CimVaros = 'Szeged*' and TipusText = '*'"));
        QVERIFY(f.cursors.tEgyszeru.filtered());
    }

    void editInPlace()
    {
        RequestFixture f;
        fill(f);
        inRequestsWindow(f, [&](QWidget *w) {
            // Stored when the selection moves.
            selectRow(w, 0);
            QCOMPARE(shown(w, QStringLiteral("Nev")), QStringLiteral("Első"));
            typeInto(control(w, QStringLiteral("Telepules")), QStringLiteral("Szeged"));
            QCOMPARE(f.stored(0).text(QStringLiteral("Telepules")), QStringLiteral("buda"));
            selectRow(w, 1);
            QCOMPARE(f.stored(0).text(QStringLiteral("Telepules")), QStringLiteral("Szeged"));
            QCOMPARE(shown(w, QStringLiteral("Nev")), QStringLiteral("Második"));

            // Stored at the next matching run, which matches the request as edited.
            selectRow(w, 0);
            typeInto(control(w, QStringLiteral("Nev")), QStringLiteral("Első vevő"));
            click(w, QStringLiteral("Button1"));
            QCOMPARE(f.stored(0).text(QStringLiteral("Nev")), QStringLiteral("Első vevő"));
            QVERIFY(!f.stored(0).boolean(QStringLiteral("Utkozes")));
            QCOMPARE(cell(w, 0, 0), QString());

            // Stored before "Új" adds a request; the new one has an empty hit cell.
            selectRow(w, 0);
            auto *szoveg = control<QPlainTextEdit>(w, QStringLiteral("Szoveg"));
            typeInto(szoveg, QStringLiteral("csak\nkertes"));
            clickThrough(w, QStringLiteral("BitBtn2"), [&](QWidget *uj) {
                QCOMPARE(uj->objectName(), QStringLiteral("fUjErdeklodes"));
                QCOMPARE(f.stored(0).text(QStringLiteral("Szoveg")),
                         QStringLiteral("csak\r\nkertes"));
                fillRequired(uj);
                typeInto(control(uj, QStringLiteral("eNev")), QStringLiteral("Harmadik"));
                typeInto(control(uj, QStringLiteral("eArig")), QStringLiteral("50000000"));
                click(uj, QStringLiteral("BitBtn2"));
            });
            QCOMPARE(rows(w), 3);
            QCOMPARE(cell(w, 2, 1), QStringLiteral("Harmadik"));
            QCOMPARE(cell(w, 2, 0), QString());
            QCOMPARE(shown(w, QStringLiteral("Nev")), QStringLiteral("Harmadik"));
            // Not flagged until the next run, so "Találatok..." does nothing for it.
            QCOMPARE(clickThrough(w, QStringLiteral("Button2"), [](QWidget *) {}), QString());
            click(w, QStringLiteral("Button1"));
            QCOMPARE(cell(w, 2, 0), QStringLiteral("X"));

            // An amount the table cannot hold is refused when the box is left.
            selectRow(w, 1);
            auto *artol = control<NumberEdit>(w, QStringLiteral("Artol"));
            typeInto(artol, QStringLiteral("3000000000"));
            const QString refused =
                throughModal([&] { focusOn(control(w, QStringLiteral("Email"))); },
                             [](QWidget *message) { press(message, QStringLiteral("OK")); });
            QCOMPARE(refused, QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!"));
            QCOMPARE(artol->value(), 0.0);
            selectRow(w, 0);
            QCOMPARE(f.stored(1).number(QStringLiteral("Artol")), 0.0);
            // One it can hold is taken over.
            selectRow(w, 1);
            typeInto(artol, QStringLiteral("2147483647"));
            selectRow(w, 0);
            QCOMPARE(f.stored(1).number(QStringLiteral("Artol")), 2147483647.0);

            // Dropped when the window closes first.
            selectRow(w, 1);
            typeInto(control(w, QStringLiteral("Email")), QStringLiteral("masodik@example.hu"));
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(f.stored(1).text(QStringLiteral("Email")), QString());
        QCOMPARE(f.storedCount(), 3);
        // Every change stored in place is in the office's log with the boxes it changed; the
        // refused amount and the dropped e-mail address are not.
        QCOMPARE(logged(f),
                 (QStringList {
                     QStringLiteral("Keresés módosítása | Első: Telepules"),
                     QStringLiteral("Keresés módosítása | Első vevő: Nev"),
                     QStringLiteral("Keresés módosítása | Első vevő: Szoveg"),
                     QStringLiteral("Keresés felvitele | Harmadik: Családi ház"),
                     QStringLiteral("Keresés módosítása | Második: Artol"),
                 }));
    }

    // A change the table refuses is said once, and the request stays chosen with what was
    // typed, so nothing is lost and nothing reaches the log.
    void refusedInPlaceChangeStays()
    {
        RequestFixture f;
        fill(f);
        inRequestsWindow(f, [&](QWidget *w) {
            f.db.exec(QStringLiteral("CREATE TRIGGER fail BEFORE UPDATE OF Telepules ON "
                                     "erdeklodes BEGIN SELECT RAISE(ABORT, 'teszt'); END"));
            selectRow(w, 0);
            typeInto(control(w, QStringLiteral("Telepules")), QStringLiteral("Pécs"));
            const QString said =
                throughModal([&] { selectRow(w, 1); },
                             [](QWidget *message) { press(message, QStringLiteral("OK")); });
            QVERIFY2(said.contains(QStringLiteral("teszt")), qPrintable(said));
            QVERIFY(settleQueuedWork());
            QCOMPARE(f.fErdeklodes->tErdeklodes().position(), 0);
            QCOMPARE(control<CursorGrid>(w, QStringLiteral("DBGrid1"))->currentIndex().row(), 0);
            QCOMPARE(shown(w, QStringLiteral("Telepules")), QStringLiteral("Pécs"));
            f.db.exec(QStringLiteral("DROP TRIGGER fail"));
            selectRow(w, 1);
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(f.stored(0).text(QStringLiteral("Telepules")), QStringLiteral("Pécs"));
        QCOMPARE(logged(f), QStringList {QStringLiteral("Keresés módosítása | Első: Telepules")});
    }

    void deleteAsked()
    {
        RequestFixture f;
        fill(f);
        inRequestsWindow(f, [&](QWidget *w) {
            selectRow(w, 0);
            QCOMPARE(clickAnswering(w, QStringLiteral("BitBtn3"), QStringLiteral("Mégsem")),
                     QStringLiteral("Biztosan törli a bejegyzést?"));
            QCOMPARE(f.storedCount(), 2);
            clickAnswering(w, QStringLiteral("BitBtn3"), QStringLiteral("OK"));
            QCOMPARE(f.storedCount(), 1);
            QCOMPARE(f.stored(0).text(QStringLiteral("Nev")), QStringLiteral("Második"));
            QCOMPARE(rows(w), 1);
            QCOMPARE(shown(w, QStringLiteral("Nev")), QStringLiteral("Második"));
            clickAnswering(w, QStringLiteral("BitBtn3"), QStringLiteral("OK"));
            QCOMPARE(f.storedCount(), 0);
            QCOMPARE(shown(w, QStringLiteral("Nev")), QString());
            // With nothing left, deleting and listing hits do nothing.
            clickAnswering(w, QStringLiteral("BitBtn3"), QStringLiteral("OK"));
            QCOMPARE(f.storedCount(), 0);
            QCOMPARE(clickThrough(w, QStringLiteral("Button2"), [](QWidget *) {}), QString());
            click(w, QStringLiteral("BitBtn1"));
        });
    }

    void hitsList()
    {
        RequestFixture f;
        fill(f);
        f.addProperty(QStringLiteral("A-3"), QStringLiteral("Budapest"), QStringLiteral("Lakás"),
                      5000000);
        f.addProperty(QStringLiteral("A-4"), QStringLiteral("Budakeszi"), QStringLiteral("Lakás"),
                      20000000);
        f.addProperty(QStringLiteral("A-5"), QStringLiteral("Budapest"), QStringLiteral("Lakás"),
                      20000001);
        // The register as the search panel left it: ordered by price.
        f.cursors.tEgyszeru.setIndexName(QStringLiteral("iar"));
        inRequestsWindow(f, [&](QWidget *w) {
            selectRow(w, 0);
            clickThrough(w, QStringLiteral("Button2"), [&](QWidget *hits) {
                QCOMPARE(hits->windowTitle(), QStringLiteral("Pelmora - Érdeklődés találatok"));
                QAbstractItemModel *model =
                    control<QTableView>(hits, QStringLiteral("uTalalatok"))->model();
                QCOMPARE(model->headerData(0, Qt::Horizontal).toString(),
                         QStringLiteral("Azonosító"));
                QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Cím"));
                QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Típus"));
                QStringList listed;
                for (int r = 0; r < model->rowCount(); ++r)
                    listed << model->data(model->index(r, 0)).toString();
                QCOMPARE(listed,
                         (QStringList {QStringLiteral("A-3"), QStringLiteral("A-1"),
                                       QStringLiteral("A-4")}));
                QCOMPARE(model->data(model->index(1, 1)).toString(),
                         QStringLiteral("1111 Budapest, Fő utca 1.  "));
                QCOMPARE(model->data(model->index(1, 2)).toString(), QStringLiteral("Lakás"));
                click(hits, QStringLiteral("BitBtn1"));
            });
            QCOMPARE(f.cursors.tEgyszeru.filterText(),
                     QStringLiteral("Ar >= 0 and Ar <= 20000000 and CimVaros = 'buda*' and "
                                    "TipusText = 'Lak*'"));

            // Criteria changed in place so that nothing fits: the list has its titles only,
            // and the change is not stored by looking.
            typeInto(control(w, QStringLiteral("Telepules")), QStringLiteral("Zsámbék"));
            clickThrough(w, QStringLiteral("Button2"), [&](QWidget *hits) {
                QCOMPARE(
                    control<QTableView>(hits, QStringLiteral("uTalalatok"))->model()->rowCount(),
                    0);
                click(hits, QStringLiteral("BitBtn1"));
            });
            QCOMPARE(f.stored(0).text(QStringLiteral("Telepules")), QStringLiteral("buda"));
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(f.stored(0).text(QStringLiteral("Telepules")), QStringLiteral("buda"));
    }

    void modifyThenRun()
    {
        RequestFixture f;
        fill(f);
        inRequestsWindow(f, [&](QWidget *w) {
            selectRow(w, 1);
            QCOMPARE(cell(w, 1, 0), QString());
            clickThrough(w, QStringLiteral("BitBtn4"), [&](QWidget *m) {
                QCOMPARE(m->objectName(), QStringLiteral("fModositErdeklodes"));
                QCOMPARE(shown(m, QStringLiteral("eNev")), QStringLiteral("Második"));
                fillRequired(m);
                typeInto(control(m, QStringLiteral("eTelepules")), QStringLiteral("Budaörs"));
                control<QComboBox>(m, QStringLiteral("eTipus"))->setCurrentIndex(1);
                click(m, QStringLiteral("BitBtn2"));
            });
            // The run after the modify window found the changed request fitting.
            QCOMPARE(cell(w, 1, 0), QStringLiteral("X"));
            QCOMPARE(cell(w, 1, 2), QStringLiteral("Családi ház"));
            // Closed without saving, the run still follows.
            f.addProperty(QStringLiteral("A-9"), QStringLiteral("Szeged"), QStringLiteral("Telek"),
                          1);
            f.addRequest(QStringLiteral("Negyedik"), QStringLiteral("Szeged"), QString(), 0, 1);
            QCOMPARE(cell(w, 2, 0), QString());
            clickThrough(w, QStringLiteral("BitBtn4"),
                         [&](QWidget *m) { click(m, QStringLiteral("BitBtn1")); });
            QCOMPARE(cell(w, 2, 0), QStringLiteral("X"));
            click(w, QStringLiteral("BitBtn1"));
        });
    }
};

QTEST_MAIN(TestErdeklodes)
#include "test_erdeklodes.moc"
