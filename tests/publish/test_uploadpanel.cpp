#include "publish/uploadpanel.h"
#include "store/database.h"
#include "store/registerstate.h"
#include "tests/publish/publishtestdata.h"
#include "tests/support/tempdatadir.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// The upload panel's filters, set through its controls on the shared property cursor.
class TestUploadPanel : public QObject
{
    Q_OBJECT

private:
    static QStringList rowsOf(QTableView *grid)
    {
        QStringList result;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            result << grid->model()->index(row, 0).data().toString();
        return result;
    }

private slots:
    void layout()
    {
        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        UploadPanel panel(cursors);
        QCOMPARE(panel.objectName(), u"pUpload"_s);
        QCOMPARE(panel.findChild<QLabel *>(u"RxLabel4"_s)->text(),
                 u"Ingatlanok feltöltése a webes adatbázisba"_s);
        QCOMPARE(panel.findChild<QLabel *>(u"Label8"_s)->text(), u"Feltöltésre váró ingatlanok:"_s);
        QVERIFY(panel.findChild<QLabel *>(u"Label8"_s)->font().bold());
        auto *check = panel.findChild<QCheckBox *>(u"CheckBox1"_s);
        QVERIFY(check->isChecked());
        QCOMPARE(check->text(), u"Csak a még fel nem töltött ingatlanok feltöltése"_s);
        QCOMPARE(panel.findChild<QAbstractButton *>(u"SpeedButton3"_s)->text(),
                 u"Az engedélyezett ingatlanok"_s);
        QCOMPARE(panel.findChild<QAbstractButton *>(u"SpeedButton2"_s)->text(),
                 u"Az összes ingatlan"_s);
        QCOMPARE(panel.findChild<QPushButton *>(u"Button7"_s)->text(), u"Szerver beállítások"_s);
        QCOMPARE(panel.findChild<QPushButton *>(u"Button6"_s)->text(), u"Feltöltés"_s);
        auto *grid = panel.findChild<QTableView *>(u"DBGrid2"_s);
        QStringList titles;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            titles << grid->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList {u"Azonosító"_s, u"Típus"_s, u"Ár"_s, u"Cím"_s}));

        QSignalSpy settings(&panel, &UploadPanel::serverSettingsRequested);
        QTest::mouseClick(panel.findChild<QPushButton *>(u"Button7"_s), Qt::LeftButton);
        QCOMPARE(settings.count(), 1);

        addRecord(cursors.tEgyszeru,
                  {{u"Azonosito"_s, u"X"_s}, {u"Web"_s, true}, {u"Ar"_s, 5000000.0}});
        panel.findChild<QPushButton *>(u"Button6"_s)->setEnabled(false);
        panel.Label80Click();
        QVERIFY(panel.findChild<QPushButton *>(u"Button6"_s)->isEnabled());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(grid->model()->index(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
                 int(Qt::AlignRight));
        QSignalSpy browse(&panel, &UploadPanel::browseRequested);
        const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(browse.count(), 1);
    }

    void filterEvents_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("listed");

        const QStringList all {u"web"_s, u"apro"_s, u"web-fent"_s, u"semmi"_s, u"semmi-fent"_s};
        const QString waitingAllowed = u"(Web = True or Apro = True) and Feltoltve = False"_s;
        QTest::newRow("entering, checked")
            << u"Label80"_s << true << waitingAllowed << QStringList {u"web"_s, u"apro"_s};
        QTest::newRow("entering, unchecked") << u"Label80"_s << false << QString() << all;
        QTest::newRow("allowed, checked")
            << u"SpeedButton3"_s << true << waitingAllowed << QStringList {u"web"_s, u"apro"_s};
        QTest::newRow("allowed, unchecked")
            << u"SpeedButton3"_s << false << u"Web = True or Apro = True"_s
            << QStringList {u"web"_s, u"apro"_s, u"web-fent"_s};
        QTest::newRow("all, checked") << u"SpeedButton2"_s << true << u"Feltoltve = False"_s
                                      << QStringList {u"web"_s, u"apro"_s, u"semmi"_s};
        QTest::newRow("all, unchecked") << u"SpeedButton2"_s << false << QString() << all;
    }

    void filterEvents()
    {
        QFETCH(QString, event);
        QFETCH(bool, checked);
        QFETCH(QString, filter);
        QFETCH(QStringList, listed);

        TempDataDir data;
        Database db(data.path());
        RegisterState cursors(db);
        Cursor &c = cursors.tEgyszeru;
        addRecord(c, {{u"Azonosito"_s, u"web"_s}, {u"Web"_s, true}});
        addRecord(c, {{u"Azonosito"_s, u"apro"_s}, {u"Apro"_s, true}});
        addRecord(c, {{u"Azonosito"_s, u"web-fent"_s}, {u"Web"_s, true}, {u"Feltoltve"_s, true}});
        addRecord(c, {{u"Azonosito"_s, u"semmi"_s}});
        addRecord(c, {{u"Azonosito"_s, u"semmi-fent"_s}, {u"Feltoltve"_s, true}});

        UploadPanel panel(cursors);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        c.setFilterText(u"Azonosito = 'semmi'"_s);
        c.setFiltered(false);
        auto *check = panel.findChild<QCheckBox *>(u"CheckBox1"_s);
        if (check->isChecked() != checked)
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
        QCOMPARE(check->isChecked(), checked);
        // The box alone changes nothing.
        QVERIFY(!c.filtered());

        if (event == u"Label80"_s)
            panel.Label80Click();
        else
            QTest::mouseClick(panel.findChild<QAbstractButton *>(event), Qt::LeftButton);
        QVERIFY(c.filtered());
        QCOMPARE(c.filterText(), filter);
        QCOMPARE(rowsOf(panel.findChild<QTableView *>(u"DBGrid2"_s)), listed);
    }
};

QTEST_MAIN(TestUploadPanel)
#include "test_uploadpanel.moc"
