#include "shell/kapcsolat.h"

#include "store/database.h"
#include "store/datadirectory.h"
#include "store/migration.h"
#include "store/secretstore.h"
#include "store/server.h"
#include "store/storeerror.h"
#include "store/tables.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"
#include "widgets/workprogress.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace {

// libpq's sslmode values, in the order the list offers them.
const std::pair<const char *, const char *> sslModes[] = {
    {"disable", "nincs"},
    {"prefer", "ha a szerver kínálja"},
    {"require", "kötelező"},
    {"verify-full", "kötelező, ellenőrzött tanúsítvánnyal"},
};

QLineEdit *namedEdit(const char *name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QPushButton *namedButton(const QString &caption, const char *name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfKapcsolat::TfKapcsolat(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fKapcsolat"));
    setWindowTitle(QStringLiteral("Pelmora - Adatbázis-kapcsolat"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Adatbázis-kapcsolat")));
    m_embedded = new QRadioButton(QStringLiteral("Beépített adatbázis az adatkönyvtárban"));
    m_embedded->setObjectName(QStringLiteral("rbBeepitett"));
    m_server = new QRadioButton(QStringLiteral("Irodai adatbázis-szerver (PostgreSQL)"));
    m_server->setObjectName(QStringLiteral("rbSzerver"));
    layout->addWidget(m_embedded);
    layout->addWidget(m_server);
    layout->addWidget(buildServerBox());
    m_answer = new QLabel;
    m_answer->setObjectName(QStringLiteral("lValasz"));
    m_answer->setWordWrap(true);
    layout->addWidget(m_answer);

    auto *probe = namedButton(QStringLiteral("Kapcsolat próbája"), "btProba");
    auto *cancel = namedButton(QStringLiteral("Mégsem"), "btMegsem");
    auto *ok = namedButton(QStringLiteral("Rendben"), "btRendben");
    ok->setDefault(true);
    m_ok = ok;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(probe);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(m_server, &QRadioButton::toggled, this, &TfKapcsolat::serverToggled);
    connect(probe, &QPushButton::clicked, this, [this] { guarded([this] { btProbaClick(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this,
            [this] { guarded([this] { m_migrateFrom ? migrateClick() : btRendbenClick(); }); });
}

QWidget *TfKapcsolat::buildServerBox()
{
    m_serverBox = new QWidget;
    auto *form = new QFormLayout(m_serverBox);
    m_host = namedEdit("eGep");
    m_port = new QSpinBox;
    m_port->setObjectName(QStringLiteral("ePort"));
    m_port->setRange(1, 65535);
    m_port->setGroupSeparatorShown(false);
    m_database = namedEdit("eAdatbazis");
    m_user = namedEdit("eFelhasznalo");
    m_password = namedEdit("eJelszo");
    m_password->setEchoMode(QLineEdit::Password);
    m_ssl = new QComboBox;
    m_ssl->setObjectName(QStringLiteral("cbTitkositas"));
    for (const auto &[mode, caption] : sslModes)
        m_ssl->addItem(QString::fromUtf8(caption), QString::fromLatin1(mode));
    m_ca = namedEdit("eTanusitvany");
    auto *browse = namedButton(QStringLiteral("Tallózás..."), "btTallozas");
    connect(browse, &QPushButton::clicked, this, &TfKapcsolat::btTallozasClick);
    auto *caRow = new QHBoxLayout;
    caRow->addWidget(m_ca, 1);
    caRow->addWidget(browse);
    form->addRow(QStringLiteral("Szerver:"), m_host);
    form->addRow(QStringLiteral("Port:"), m_port);
    form->addRow(QStringLiteral("Adatbázis:"), m_database);
    form->addRow(QStringLiteral("Felhasználó:"), m_user);
    form->addRow(QStringLiteral("Jelszó:"), m_password);
    form->addRow(QStringLiteral("Titkosítás:"), m_ssl);
    form->addRow(QStringLiteral("Tanúsítványkiadó (CA):"), caRow);
    return m_serverBox;
}

bool TfKapcsolat::edit()
{
    m_saved = false;
    load(connectionsetting::load());
    m_password->clear();
    m_answer->clear();
    exec();
    return m_saved;
}

void TfKapcsolat::load(const connectionsetting::Setting &setting)
{
    (setting.server ? m_server : m_embedded)->setChecked(true);
    m_host->setText(setting.host);
    m_port->setValue(setting.port);
    m_database->setText(setting.database);
    m_user->setText(setting.user);
    const int ssl = m_ssl->findData(setting.sslMode);
    m_ssl->setCurrentIndex(ssl < 0 ? 1 : ssl);
    m_ca->setText(setting.caFile);
    serverToggled();
}

connectionsetting::Setting TfKapcsolat::typed() const
{
    connectionsetting::Setting setting;
    setting.server = m_server->isChecked();
    setting.host = m_host->text().trimmed();
    setting.port = m_port->value();
    setting.database = m_database->text().trimmed();
    setting.user = m_user->text().trimmed();
    setting.sslMode = m_ssl->currentData().toString();
    setting.caFile = m_ca->text().trimmed();
    return setting;
}

void TfKapcsolat::serverToggled()
{
    m_serverBox->setEnabled(m_server->isChecked());
}

// The try runs beside the window: a server that does not answer holds the connection for
// seconds, and the window keeps painting meanwhile.
void TfKapcsolat::btProbaClick()
{
    const connectionsetting::Setting setting = typed();
    if (!setting.server) {
        m_answer->setText(QStringLiteral("A beépített adatbázishoz nem kell kapcsolódni."));
        return;
    }
    if (const QString problem = connectionsetting::problem(setting); !problem.isEmpty()) {
        showMessage(problem);
        return;
    }
    const QString address = connectionsetting::address(setting, m_password->text());
    QString error;
    std::optional<QString> version;
    QThread *worker =
        QThread::create([&address, &error, &version] { version = server::probe(address, &error); });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    m_answer->setText(version ? QStringLiteral("A kapcsolat rendben (PostgreSQL %1).").arg(*version)
                              : error);
}

void TfKapcsolat::btTallozasClick()
{
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("A tanúsítványkiadó fájlja"), m_ca->text(),
        QStringLiteral("Tanúsítványok (*.crt *.pem);;Minden fájl (*)"));
    if (!file.isEmpty())
        m_ca->setText(file);
}

void TfKapcsolat::btRendbenClick()
{
    const connectionsetting::Setting setting = typed();
    if (const QString problem = connectionsetting::problem(setting); !problem.isEmpty()) {
        showMessage(problem);
        return;
    }
    keep(setting);
    accept();
}

void TfKapcsolat::keep(const connectionsetting::Setting &setting)
{
    if (setting.server && !m_password->text().isEmpty()) {
        SecretStore secrets;
        QString error;
        if (!secrets.write(connectionsetting::passwordKey(setting), m_password->text(), &error))
            throw StoreError(error);
    }
    const bool changed = setting != connectionsetting::load() || !m_password->text().isEmpty();
    connectionsetting::save(setting);
    m_saved = changed;
}

bool TfKapcsolat::migrate(Database &local)
{
    m_migrateFrom = &local;
    m_saved = false;
    setWindowTitle(QStringLiteral("Pelmora - Adatok átköltöztetése szerverre"));
    load(connectionsetting::load());
    m_server->setChecked(true);
    m_embedded->setEnabled(false);
    m_ok->setText(QStringLiteral("Átköltöztetés"));
    m_password->clear();
    m_answer->setText(QStringLiteral("A gép adatai (ingatlanok, archívum, érdeklődők, napló és "
                                     "fényképek) egy üres szerver-adatbázisba kerülnek át, majd "
                                     "ez a munkaállomás a szerveren dolgozik tovább."));
    exec();
    m_migrateFrom = nullptr;
    return m_saved;
}

// The copy is one server transaction: stopped or failed, the server keeps nothing of it, and
// this workstation goes on with its own register as before.
void TfKapcsolat::migrateClick()
{
    const connectionsetting::Setting setting = typed();
    if (const QString problem = connectionsetting::problem(setting); !problem.isEmpty()) {
        showMessage(problem);
        return;
    }
    const QString address = connectionsetting::address(setting, m_password->text());
    if (!askQuestion(QStringLiteral("A gép adatai átkerülnek ide: %1. Folytatja?")
                         .arg(server::describe(address))))
        return;
    WorkProgress progress(QStringLiteral("Adatok átköltöztetése szerverre..."),
                          QStringLiteral("fAtkoltoztetes"), windowTitle(), this);
    Database server(m_migrateFrom->dataDir(), datadirectory::seed, address);
    const migration::Result result =
        migration::toServer(*m_migrateFrom, server, progress.reporter());
    progress.hide();
    if (result.stopped) {
        showMessage(QStringLiteral("Az átköltöztetés megszakadt; a szerverre nem került át "
                                   "semmi."));
        return;
    }
    keep(setting);
    QString done = QStringLiteral("Az adatok átkerültek a szerverre: %1 ingatlan, %2 fénykép.")
                       .arg(result.rows.value(tables::egyszeru))
                       .arg(result.photos);
    if (!result.missingPhotos.isEmpty())
        done += QStringLiteral("\nNem volt meg a gépen, így a szerverre sem került: %1")
                    .arg(result.missingPhotos.join(QStringLiteral(", ")));
    showMessage(done);
    accept();
}
