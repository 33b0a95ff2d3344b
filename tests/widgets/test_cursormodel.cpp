#include "store/cursor.h"
#include "store/database.h"
#include "store/tables.h"
#include "store/textformat.h"
#include "tests/support/tempdatadir.h"
#include "widgets/cursorgrid.h"
#include "widgets/cursormodel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QHeaderView>
#include <QtTest>

// The grid model over a live cursor: a model Qt's views can trust, rows that follow filter and
// order changes, and a grid whose selection and the cursor's current record stay together.
class TestCursorModel : public QObject
{
    Q_OBJECT

private:
    static void add(Cursor &c, const QString &azonosito, double ar, const QString &magyar = {})
    {
        c.append();
        c.setValue(QStringLiteral("Azonosito"), azonosito);
        c.setValue(QStringLiteral("Ar"), ar);
        c.setValue(QStringLiteral("LeirasMagyar"), magyar);
        c.post();
    }

    static QList<GridColumn> columns()
    {
        return {{QStringLiteral("Azonosito"), QStringLiteral("Azonosító")},
                {QStringLiteral("Ar"), QStringLiteral("Ár"), Qt::AlignRight},
                {QStringLiteral("LeirasMagyar"), QStringLiteral("Leírás")},
                {QStringLiteral("Web"), QStringLiteral("Web")}};
    }

    static QString cell(const CursorModel &model, int row, int column)
    {
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    }

private slots:
    void modelStaysConsistentThroughChanges()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        c.open();
        CursorModel model(&c, columns());
        // The tester checks every signal and answer of the model while the cursor changes under
        // it: a wrong row count after a reset or an index out of range fails here.
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        add(c, QStringLiteral("B-2"), 30000000);
        add(c, QStringLiteral("A-1"), 12500000, QStringLiteral("Első sor\r\nmásodik sor"));
        add(c, QStringLiteral("C-3"), 5000000);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 4);

        c.setIndexName(QStringLiteral("iar"));
        QCOMPARE(cell(model, 0, 0), QStringLiteral("C-3"));
        QCOMPARE(cell(model, 2, 0), QStringLiteral("B-2"));

        c.setFilterText(QStringLiteral("Ar >= 10000000"));
        c.setFiltered(true);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(cell(model, 0, 0), QStringLiteral("A-1"));

        c.first();
        c.remove();
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(cell(model, 0, 0), QStringLiteral("B-2"));

        c.setFiltered(false);
        QCOMPARE(model.rowCount(), 2);
        c.close();
        QCOMPARE(model.rowCount(), 0);
    }

    void cellsAndTitles()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        c.open();
        add(c, QStringLiteral("A-1"), 12500000, QStringLiteral("Első sor\r\nmásodik sor"));
        CursorModel model(&c, columns());

        // Amounts as the register writes numbers, booleans as the grid shows them, a memo on one
        // line.
        QCOMPARE(cell(model, 0, 1), textformat::numberText(12500000));
        QCOMPARE(cell(model, 0, 2), QStringLiteral("Első sor második sor"));
        QCOMPARE(cell(model, 0, 3), QStringLiteral("False"));
        const auto alignment =
            model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>();
        QVERIFY(alignment & Qt::AlignRight);

        QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Ár"));
        QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::BackgroundRole).isValid());
        model.setTitleColor(1, Qt::red);
        QCOMPARE(header.count(), 1);
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        model.setTitleColor(1, Qt::red); // no change, no signal
        model.setTitleColor(9, Qt::red); // no such column
        QCOMPARE(header.count(), 1);
        model.setTitleColor(1, QColor());
        QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::BackgroundRole).isValid());
    }

    void gridAndCursorFollowEachOther()
    {
        TempDataDir dir;
        Database db(dir.path());
        Cursor c(db, tables::egyszeru, true);
        c.open();
        for (int i = 1; i <= 5; ++i)
            add(c, QStringLiteral("P-%1").arg(i), i * 1000000.0);
        c.setIndexName(QStringLiteral("iar"));
        CursorGrid grid(&c, columns());
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        // Clicking a row moves the cursor there.
        const QRect third = grid.visualRect(grid.cursorModel()->index(2, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(c.position(), 2);
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("P-3"));

        // Moving the cursor moves the selection.
        c.last();
        QCOMPARE(grid.selectionModel()->currentIndex().row(), 4);
        QVERIFY(grid.selectionModel()->isRowSelected(4, {}));

        // After the view changes (a filter), the selection is back on the cursor's row.
        c.setFilterText(QStringLiteral("Ar >= 2000000"));
        c.setFiltered(true);
        c.first();
        QTRY_COMPARE(grid.selectionModel()->currentIndex().row(), 0);
        QCOMPARE(cell(*grid.cursorModel(), 0, 0), QStringLiteral("P-2"));

        QSignalSpy titles(&grid, &CursorGrid::titleClicked);
        QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(grid.horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(titles.count(), 1);
        QCOMPARE(titles.first().first().toInt(), 1);

        QSignalSpy doubles(&grid, &CursorGrid::rowDoubleClicked);
        const QRect second = grid.visualRect(grid.cursorModel()->index(1, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(doubles.count(), 1);
        QCOMPARE(c.text(QStringLiteral("Azonosito")), QStringLiteral("P-3"));
    }
};

QTEST_MAIN(TestCursorModel)
#include "test_cursormodel.moc"
