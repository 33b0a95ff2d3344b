#include "tests/buyers/requestfixture.h"

#include <QApplication>

// The new-request and modify windows, driven through their boxes as a user would.
class TestRequestForms : public QObject
{
    Q_OBJECT

private:
    static int execWith(QDialog *dialog, const std::function<void(QWidget *)> &steps)
    {
        int result = -1;
        throughModal([&] { result = dialog->exec(); }, steps);
        return result;
    }

    // The request windows with the request list open, as the requests window leaves it.
    struct NewRequestFixture : RequestFixture
    {
        NewRequestFixture() { fErdeklodes->tErdeklodes().open(); }
    };

    // A step that types `text` into the box `name`.
    static std::function<void()> typing(QWidget *w, const char *name, const QString &text)
    {
        return [w, name, text] {
            typeInto(control(w, QString::fromLatin1(name)), text);
        };
    }

    // Stores a request with every box filled through the new-request window; the window's
    // result, or -1 when it stayed open.
    static int storeFullRequest(RequestFixture &f)
    {
        bool closed = false;
        const int result = execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            fillRequired(w);
            typeInto(control(w, QStringLiteral("eArtol")), QStringLiteral("15000000"));
            typeInto(control(w, QStringLiteral("eArig")), QStringLiteral("2147483647"));
            typeInto(control(w, QStringLiteral("eTelepules")), QStringLiteral("Buda"));
            typeInto(control(w, QStringLiteral("eEmail")), QStringLiteral("kiss@example.hu"));
            typeInto(control(w, QStringLiteral("eSzoveg")),
                     QStringLiteral("Kertes ház\nkocsibeállóval"));
            click(w, QStringLiteral("BitBtn2"));
            closed = !w->isVisible();
        });
        return closed ? result : -1;
    }

private slots:
    void newRequestOffersTypesAndCounties()
    {
        NewRequestFixture f;
        execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Pelmora - Ingatlant keres"));
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eTipus"))->count(), 4);
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eCimMegye"))->count(), 19);
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eCimMegye"))->itemText(3),
                     QStringLiteral("Borsod-Abaúj-Zemplén"));
            click(w, QStringLiteral("BitBtn1"));
        });
    }

    // Each required box in its order: the message, the focus on the box, nothing stored.
    void newRequestAsksForEachRequiredBoxInTurn()
    {
        NewRequestFixture f;
        execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            const auto type = [w] {
                control<QComboBox>(w, QStringLiteral("eTipus"))->setCurrentIndex(1);
            };
            const QList<std::pair<QString, std::function<void()>>> steps {
                {QStringLiteral("eNev"), typing(w, "eNev", QStringLiteral("Kiss Ödön"))},
                {QStringLiteral("eCimIrsz"), typing(w, "eCimIrsz", QStringLiteral("6720"))},
                {QStringLiteral("eCimVaros"), typing(w, "eCimVaros", QStringLiteral("Szeged"))},
                {QStringLiteral("eCimUtca"),
                 typing(w, "eCimUtca", QStringLiteral("Kárász utca 5."))},
                {QStringLiteral("eCimMegye"), typing(w, "eCimMegye", QStringLiteral("Csongrád"))},
                {QStringLiteral("eTipus"), type},
                {QStringLiteral("eTelefon"),
                 typing(w, "eTelefon", QStringLiteral("+36 62 123 456"))},
            };
            for (const auto &[box, fill] : steps) {
                QCOMPARE(clickAnswering(w, QStringLiteral("BitBtn2"), QStringLiteral("OK")),
                         QStringLiteral("Nincs elég adat!"));
                QCOMPARE(focused(w), box);
                QVERIFY(w->isVisible());
                QCOMPARE(f.storedCount(), 0);
                fill();
            }
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(f.storedCount(), 0);
    }

    // An amount beyond what the table holds is refused before anything is stored; the largest
    // it holds is then stored.
    void newRequestRefusesAnAmountBeyondTheTable()
    {
        NewRequestFixture f;
        const int result = execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            fillRequired(w);
            auto *arig = control<NumberEdit>(w, QStringLiteral("eArig"));
            typeInto(arig, QStringLiteral("2147483648"));
            QCOMPARE(clickAnswering(w, QStringLiteral("BitBtn2"), QStringLiteral("OK")),
                     QStringLiteral("Az összeg legfeljebb 2 147 483 647 Ft lehet!"));
            QCOMPARE(focused(w), arig->objectName());
            QCOMPARE(f.storedCount(), 0);
            typeInto(arig, QStringLiteral("2147483647"));
            click(w, QStringLiteral("BitBtn2"));
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(f.storedCount(), 1);
        QCOMPARE(f.stored(0).number(QStringLiteral("Arig")), 2147483647.0);
    }

    // Left, an amount box shows money.
    void newRequestAmountShowsMoneyOnceLeft()
    {
        NewRequestFixture f;
        execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            typeInto(control(w, QStringLiteral("eArtol")), QStringLiteral("15000000"));
            focusOn(control(w, QStringLiteral("eSzoveg")));
            QCOMPARE(shown(w, QStringLiteral("eArtol")), QStringLiteral("15 000 000 Ft"));
            click(w, QStringLiteral("BitBtn1"));
        });
    }

    void newRequestStoresEveryBox()
    {
        NewRequestFixture f;
        QCOMPARE(storeFullRequest(f), int(QDialog::Accepted));
        QCOMPARE(f.storedCount(), 1);
        const Record r = f.stored(0);
        QCOMPARE(r.text(QStringLiteral("Nev")), QStringLiteral("Kiss Ödön"));
        QCOMPARE(r.text(QStringLiteral("CimIrsz")), QStringLiteral("6720"));
        QCOMPARE(r.text(QStringLiteral("CimVaros")), QStringLiteral("Szeged"));
        QCOMPARE(r.text(QStringLiteral("CimUtca")), QStringLiteral("Kárász utca 5."));
        QCOMPARE(r.text(QStringLiteral("CimMegye")), QStringLiteral("Csongrád"));
        QCOMPARE(r.text(QStringLiteral("Telefon")), QStringLiteral("+36 62 123 456"));
        QCOMPARE(r.text(QStringLiteral("Email")), QStringLiteral("kiss@example.hu"));
        QCOMPARE(r.text(QStringLiteral("Telepules")), QStringLiteral("Buda"));
        QCOMPARE(r.integer(QStringLiteral("Tipus")), 1);
        QCOMPARE(r.text(QStringLiteral("TipusText")), QStringLiteral("Családi ház"));
        QCOMPARE(r.number(QStringLiteral("Artol")), 15000000.0);
        QCOMPARE(r.number(QStringLiteral("Arig")), 2147483647.0);
        QCOMPARE(r.text(QStringLiteral("Szoveg")), QStringLiteral("Kertes ház\r\nkocsibeállóval"));
        QVERIFY(r.text(QStringLiteral("Mikor"))
                    .startsWith(QString::number(QDate::currentDate().year())));
        QCOMPARE(r.boolean(QStringLiteral("Utkozes")), false);
    }

    // Shown again, the window starts empty; "Mégsem" stores nothing.
    void newRequestStartsEmptyAndMegsemStoresNothing()
    {
        NewRequestFixture f;
        QCOMPARE(storeFullRequest(f), int(QDialog::Accepted));
        const int result = execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            QCOMPARE(control<QLineEdit>(w, QStringLiteral("eNev"))->text(), QString());
            QCOMPARE(control<QLineEdit>(w, QStringLiteral("eTelepules"))->text(), QString());
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eTipus"))->currentIndex(), -1);
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eCimMegye"))->currentText(), QString());
            QCOMPARE(shown(w, QStringLiteral("eArtol")), QStringLiteral("0 Ft"));
            QCOMPARE(control<NumberEdit>(w, QStringLiteral("eArig"))->value(), 0.0);
            QCOMPARE(control<QPlainTextEdit>(w, QStringLiteral("eSzoveg"))->toPlainText(),
                     QString());
            QCOMPARE(focused(w), QStringLiteral("eNev"));
            fillRequired(w);
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.storedCount(), 1);
    }

    void modifyLoadsAndOverwrites()
    {
        RequestFixture f;
        int result = 0;
        Cursor &requests = f.fErdeklodes->tErdeklodes();
        requests.open();

        // On an empty list the form is empty with the first type chosen, and saving adds.
        result = execWith(f.fModositErdeklodes.get(), [&](QWidget *w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Pelmora - Ingatlant keres módosítása"));
            QCOMPARE(control<QLineEdit>(w, QStringLiteral("eNev"))->text(), QString());
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eTipus"))->currentIndex(), 0);
            QCOMPARE(shown(w, QStringLiteral("eArig")), QStringLiteral("0 Ft"));
            fillRequired(w);
            click(w, QStringLiteral("BitBtn2"));
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(f.storedCount(), 1);

        // A web inquiry has no type position: the first type is offered and saving stores it.
        // Everything is overwritten but the flag.
        f.addRequest(QStringLiteral("Web Elek"), QStringLiteral("Pécs"), QStringLiteral("Iroda"),
                     1000000, 72.5);
        requests.last();
        requests.setValue(QStringLiteral("Szoveg"), QStringLiteral("első\r\nmásodik"));
        requests.setValue(QStringLiteral("Utkozes"), true);
        requests.post();
        result = execWith(f.fModositErdeklodes.get(), [&](QWidget *w) {
            QCOMPARE(control<QLineEdit>(w, QStringLiteral("eNev"))->text(),
                     QStringLiteral("Web Elek"));
            QCOMPARE(control<QLineEdit>(w, QStringLiteral("eTelepules"))->text(),
                     QStringLiteral("Pécs"));
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eTipus"))->currentText(),
                     QStringLiteral("Lakás"));
            QCOMPARE(shown(w, QStringLiteral("eArtol")), QStringLiteral("1 000 000 Ft"));
            QCOMPARE(shown(w, QStringLiteral("eArig")), QStringLiteral("72 Ft"));
            QCOMPARE(control<QPlainTextEdit>(w, QStringLiteral("eSzoveg"))->toPlainText(),
                     QStringLiteral("első\nmásodik"));
            // The buyer's address is missing.
            QCOMPARE(clickAnswering(w, QStringLiteral("BitBtn2"), QStringLiteral("OK")),
                     QStringLiteral("Nincs elég adat!"));
            QCOMPARE(focused(w), QStringLiteral("eCimIrsz"));
            fillRequired(w);
            control<QComboBox>(w, QStringLiteral("eTipus"))->setCurrentIndex(0);
            typeInto(control(w, QStringLiteral("eArig")), QStringLiteral("90000000"));
            click(w, QStringLiteral("BitBtn2"));
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(f.storedCount(), 2);
        const Record r = f.stored(1);
        QCOMPARE(r.text(QStringLiteral("Nev")), QStringLiteral("Kiss Ödön"));
        QCOMPARE(r.integer(QStringLiteral("Tipus")), 0);
        QCOMPARE(r.text(QStringLiteral("TipusText")), QStringLiteral("Lakás"));
        QCOMPARE(r.text(QStringLiteral("Telepules")), QStringLiteral("Pécs"));
        QCOMPARE(r.number(QStringLiteral("Artol")), 1000000.0);
        QCOMPARE(r.number(QStringLiteral("Arig")), 90000000.0);
        QCOMPARE(r.text(QStringLiteral("Szoveg")), QStringLiteral("első\r\nmásodik"));
        QVERIFY(r.text(QStringLiteral("Mikor")) != QStringLiteral("2026. 03. 01. 10:00:00"));
        QCOMPARE(r.boolean(QStringLiteral("Utkozes")), true);

        // A type position beyond the list chooses nothing, and the check asks for it.
        requests.setValue(QStringLiteral("Tipus"), 9);
        requests.post();
        result = execWith(f.fModositErdeklodes.get(), [&](QWidget *w) {
            QCOMPARE(control<QComboBox>(w, QStringLiteral("eTipus"))->currentIndex(), -1);
            clickAnswering(w, QStringLiteral("BitBtn2"), QStringLiteral("OK"));
            QCOMPARE(focused(w), QStringLiteral("eTipus"));
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(f.stored(1).integer(QStringLiteral("Tipus")), 9);
    }

    void textBoxLimit()
    {
        RequestFixture f;
        int result = 0;
        result = execWith(f.fUjErdeklodes.get(), [&](QWidget *w) {
            auto *szoveg = control<QPlainTextEdit>(w, QStringLiteral("eSzoveg"));
            // Line breaks are stored as two characters, so 254 letters and a break already fill it.
            szoveg->setPlainText(QString(254, QLatin1Char('a')) + QStringLiteral("\nb"));
            QCOMPARE(szoveg->toPlainText(), QString(254, QLatin1Char('a')));
            typeInto(szoveg, QStringLiteral("b"));
            QCOMPARE(szoveg->toPlainText(), QString(254, QLatin1Char('a')) + QLatin1Char('b'));
            typeInto(szoveg, QStringLiteral("c"));
            QCOMPARE(szoveg->toPlainText().size(), 255);
            click(w, QStringLiteral("BitBtn1"));
        });
        QCOMPARE(result, int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestRequestForms)
#include "test_requestforms.moc"
