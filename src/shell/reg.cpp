#include "shell/reg.h"

#include "shell/kapcsolat.h"
#include "store/cursor.h"
#include "store/server.h"
#include "store/tables.h"
#include "widgets/counties.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace {

const QString saveQuestion = QStringLiteral("Menti a változásokat?");

QLineEdit *namedEdit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton *saveButton(const char *name)
{
    auto *button = new QPushButton(QStringLiteral("Rögzít"));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

TfReg::TfReg(Cursor &tDefaults, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                  Qt::WindowCloseButtonHint)
    , m_defaults(tDefaults)
    , m_pages(new QTabWidget)
    , m_userBinder(tables::defaults)
    , m_termsBinder(tables::defaults)
{
    setObjectName(QStringLiteral("fReg"));
    setWindowTitle(QStringLiteral("Pelmora - Beállítások"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Beállítások")));
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_pages);

    QPushButton *save1 = buildUserPage();
    QPushButton *save3 = buildTermsPage();
    buildDatabasePage();
    connectPages(save1, save3);
    fixAndCentre(this);
}

void TfReg::createUserEdits()
{
    m_edit1 = namedEdit("Edit1");
    m_edit2 = namedEdit("Edit2");
    m_edit5 = namedEdit("Edit5");
    m_edit5->setMaximumWidth(70);
    m_edit6 = namedEdit("Edit6");
    m_edit3 = namedEdit("Edit3");
    m_megye = new QComboBox;
    m_megye->setObjectName(QStringLiteral("Megye"));
    m_megye->setEditable(true);
    m_megye->addItems(hungarianCounties());
    m_edit7 = namedEdit("Edit7");
    m_edit8 = namedEdit("Edit8");
    m_edit4 = namedEdit("Edit4");
    const std::pair<QLineEdit *, const char *> userFields[] = {
        {m_edit1, "Name"}, {m_edit2, "Contact"}, {m_edit5, "Irsz"},  {m_edit6, "Varos"},
        {m_edit3, "Utca"}, {m_edit4, "Telefon"}, {m_edit7, "Email"}, {m_edit8, "Web"}};
    for (const auto &[edit, field] : userFields)
        m_userBinder.bind(edit, QString::fromLatin1(field));
    m_userBinder.bind(m_megye, QStringLiteral("Megye"));
}

QPushButton *TfReg::buildUserPage()
{
    auto *user = new QWidget;
    user->setObjectName(QStringLiteral("TabSheet1"));
    auto *grid = new QGridLayout(user);
    createUserEdits();
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Cég neve:")), row, 0);
    grid->addWidget(m_edit1, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Kapcsolattartó:")), row, 0);
    grid->addWidget(m_edit2, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Cím:")), row, 0);
    grid->addWidget(m_edit5, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Irsz.")), row++, 2);
    grid->addWidget(m_edit6, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Város")), row++, 2);
    grid->addWidget(m_edit3, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Utca, házszám")), row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Megye:")), row, 0);
    grid->addWidget(m_megye, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("E-mail:")), row, 0);
    grid->addWidget(m_edit7, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Web cím:")), row, 0);
    grid->addWidget(m_edit8, row++, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Telefonszám:")), row, 0);
    grid->addWidget(m_edit4, row++, 1, 1, 2);
    auto *save1 = saveButton("BitBtn1");
    grid->addWidget(save1, row, 2, Qt::AlignRight);
    grid->setColumnMinimumWidth(1, 260);
    m_pages->addTab(user, QStringLiteral("Felhasználói adatok"));
    return save1;
}

QPushButton *TfReg::buildTermsPage()
{
    auto *terms = new QWidget;
    terms->setObjectName(QStringLiteral("TabSheet3"));
    auto *termsLayout = new QVBoxLayout(terms);
    termsLayout->addWidget(new QLabel(QStringLiteral("Az ingatlan cím elvitelének feltételei:")));
    m_elvitel = new QPlainTextEdit;
    m_elvitel->setObjectName(QStringLiteral("bElvitel"));
    m_elvitel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_termsBinder.bind(m_elvitel, QStringLiteral("Elvitel"));
    termsLayout->addWidget(m_elvitel);
    auto *save3 = saveButton("BitBtn3");
    termsLayout->addWidget(save3, 0, Qt::AlignRight);
    m_pages->addTab(terms, QStringLiteral("Elvitel feltételei"));
    return save3;
}

void TfReg::buildDatabasePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetAdatbazis"));
    auto *layout = new QVBoxLayout(page);
    m_database = new QLabel;
    m_database->setObjectName(QStringLiteral("lAdatbazis"));
    m_database->setWordWrap(true);
    layout->addWidget(m_database);
    auto *connection = new QPushButton(QStringLiteral("Kapcsolat beállítása..."));
    connection->setObjectName(QStringLiteral("btKapcsolat"));
    connect(connection, &QPushButton::clicked, this, [this] {
        guarded([this] {
            TfKapcsolat window(this);
            if (window.edit())
                showMessage(QStringLiteral("Az új adatbázis-kapcsolat a program következő "
                                           "indításakor lép életbe."));
        });
    });
    layout->addWidget(connection, 0, Qt::AlignLeft);
    auto *migrate = new QPushButton(QStringLiteral("Adatok átköltöztetése szerverre..."));
    migrate->setObjectName(QStringLiteral("btAtkoltoztetes"));
    migrate->setVisible(!m_defaults.database().isServer());
    connect(migrate, &QPushButton::clicked, this, [this] {
        guarded([this] {
            TfKapcsolat window(this);
            if (!window.migrate(m_defaults.database()))
                return;
            // Whatever this desk wrote to its own register from now on would never reach the
            // office's.
            showMessage(QStringLiteral("A program most kilép; a következő indításkor már a "
                                       "szerveren dolgozik."));
            QCoreApplication::exit(0);
        });
    });
    layout->addWidget(migrate, 0, Qt::AlignLeft);
    // Only the office server has other workstations storing the settings meanwhile.
    auto *reload = new QPushButton(QStringLiteral("Újraolvasás"));
    reload->setObjectName(QStringLiteral("btUjraolvasas"));
    reload->setVisible(m_defaults.database().isServer());
    connect(reload, &QPushButton::clicked, this, [this] { guarded([this] { reloadClick(); }); });
    layout->addWidget(reload, 0, Qt::AlignLeft);
    layout->addStretch();
    m_pages->addTab(page, QStringLiteral("Adatbázis"));
}

void TfReg::showDatabase()
{
    const Database &db = m_defaults.database();
    m_database->setText(db.isServer()
                            ? QStringLiteral("Ez a munkaállomás az irodai adatbázis-szerveren "
                                             "dolgozik: %1")
                                  .arg(server::describe(db.server()))
                            : QStringLiteral("Ez a munkaállomás a beépített adatbázison dolgozik: "
                                             "%1")
                                  .arg(db.dataDir()));
}

void TfReg::reloadClick()
{
    m_defaults.reread();
    FormActivate();
}

void TfReg::connectPages(QPushButton *save1, QPushButton *save3)
{
    // Each page's "Rögzít" is the default button while its page is shown.
    auto chooseDefault = [save1, save3](int page) {
        save1->setDefault(page == 0);
        save3->setDefault(page == 1);
    };
    connect(m_pages, &QTabWidget::currentChanged, this, chooseDefault);
    chooseDefault(0);
    connect(m_pages, &QTabWidget::currentChanged, this, &TfReg::pageChanged);
    connect(save1, &QPushButton::clicked, this, &TfReg::BitBtn1Click);
    connect(save3, &QPushButton::clicked, this, &TfReg::BitBtn3Click);
}

void TfReg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Coming back from the taskbar is not a fresh opening: what was typed stays.
    if (!event->spontaneous())
        FormActivate();
}

void TfReg::FormActivate()
{
    m_userBinder.load(m_defaults);
    m_termsBinder.load(m_defaults);
    m_storedUserData = m_userBinder.values();
    m_storedTerms = m_elvitel->toPlainText();
    m_readVersion = m_defaults.rowVersion();
    showDatabase();
    m_pages->setCurrentIndex(0);
    m_shownPage = 0;
}

bool TfReg::termsChanged() const
{
    return m_elvitel->toPlainText() != m_storedTerms;
}

void TfReg::pageChanged(int page)
{
    // The page is already switched; what was typed on the one left is still in its controls, so
    // a "Mégsem" loses nothing yet and closing the window asks again.
    const int left = std::exchange(m_shownPage, page);
    const bool changed = left == 0 ? userDataChanged() : left == 1 && termsChanged();
    if (!changed || !askQuestion(saveQuestion))
        return;
    if (left == 0)
        BitBtn1Click();
    else
        BitBtn3Click();
}

void TfReg::reject()
{
    if ((userDataChanged() || termsChanged()) && askQuestion(saveQuestion)) {
        // A page that could not be stored keeps the window open with its text.
        if (userDataChanged() && !BitBtn1Click())
            return;
        if (termsChanged() && !BitBtn3Click())
            return;
    }
    QDialog::reject();
}

bool TfReg::BitBtn1Click()
{
    const FieldValues typed = m_userBinder.values();
    const bool stored = guarded([this] { storeUserData(); });
    if (stored) {
        m_storedUserData = typed;
        emit userDataStored();
    } else {
        // The settings record is shared with the main window: it keeps what is stored, and the
        // boxes keep what was typed for another try.
        m_defaults.cancel();
    }
    return stored;
}

void TfReg::storeUserData()
{
    m_defaults.edit(m_readVersion);
    m_userBinder.write(m_defaults);
    m_defaults.post();
    m_readVersion = m_defaults.rowVersion();
}

bool TfReg::BitBtn3Click()
{
    const QString typed = m_elvitel->toPlainText();
    const bool stored = guarded([this] {
        m_defaults.edit(m_readVersion);
        m_termsBinder.write(m_defaults);
        m_defaults.post();
        m_readVersion = m_defaults.rowVersion();
    });
    if (stored)
        m_storedTerms = typed;
    else
        m_defaults.cancel();
    return stored;
}
