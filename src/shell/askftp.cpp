#include "shell/askftp.h"

#include "publish/ftppassword.h"
#include "publish/ftpsecurity.h"
#include "store/cursor.h"
#include "store/tables.h"
#include "widgets/dialogframe.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfFtp::TfFtp(Cursor &tDefaults, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_defaults(tDefaults)
    , m_edit1(new QLineEdit)
    , m_userid(new QLineEdit)
    , m_password(new QLineEdit)
    , m_secretWarning(new QLabel)
    , m_ftps(new QCheckBox(QStringLiteral("Titkosított kapcsolat (FTPS)")))
    , m_fingerprint(new QLabel)
{
    setObjectName(QStringLiteral("fFtp"));
    setWindowTitle(QStringLiteral("Pelmora - Ingatlan Nyilvántartás"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("FTP szerver beállításai")));
    auto *grid = new QGridLayout;
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setMinimumWidth(260);
    m_userid->setObjectName(QStringLiteral("eUserid"));
    m_userid->setMaxLength(tables::width(tables::defaults, QStringLiteral("Userid")));
    m_password->setObjectName(QStringLiteral("eFtppass"));
    m_password->setMaxLength(tables::width(tables::defaults, QStringLiteral("Ftppass")));
    m_password->setEchoMode(QLineEdit::Password);
    grid->addWidget(new QLabel(QStringLiteral("Szerver neve vagy IP címe:")), 0, 0);
    grid->addWidget(m_edit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Irodai azonosító:")), 1, 0);
    grid->addWidget(m_userid, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("FTP jelszó:")), 2, 0);
    grid->addWidget(m_password, 2, 1);
    m_ftps->setObjectName(QStringLiteral("cbFtps"));
    grid->addWidget(m_ftps, 3, 1);
    layout->addLayout(grid);
    m_fingerprint->setObjectName(QStringLiteral("lUjjlenyomat"));
    m_fingerprint->setWordWrap(true);
    m_fingerprint->setMaximumWidth(420);
    m_fingerprint->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_fingerprint);
    m_secretWarning->setObjectName(QStringLiteral("lJelszoFigyelem"));
    m_secretWarning->setWordWrap(true);
    m_secretWarning->setMaximumWidth(420);
    layout->addWidget(m_secretWarning);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("&Rendben"));
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Mégsem"));
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TfFtp::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    fixAndCentre(this);
}

void TfFtp::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfFtp::FormActivate()
{
    m_edit1->setText(m_defaults.text(QStringLiteral("Ftpserver")));
    m_userid->setText(m_defaults.text(QStringLiteral("Userid")));
    QString error;
    const std::optional<QString> password = ftppassword::read(m_defaults, m_secrets, &error);
    m_password->setText(password.value_or(QString()));
    m_passwordKnown = password.has_value();
    const FtpSecurity security = FtpSecurity::read(m_defaults.database());
    m_ftps->setChecked(security.tls);
    const bool trusted = !security.keyFor(m_edit1->text()).isEmpty();
    m_fingerprint->setText(
        trusted ? QStringLiteral("Elfogadott tanúsítvány (SHA-256): %1").arg(security.fingerprint)
                : QString());
    m_fingerprint->setVisible(trusted);
    m_secretWarning->setText(m_secrets.warning());
    m_secretWarning->setVisible(!m_secrets.warning().isEmpty());
    m_edit1->setFocus();
    if (!password)
        showMessage(error);
}

void TfFtp::BitBtn1Click()
{
    if (m_edit1->text().isEmpty()) {
        showMessage(QStringLiteral("A mező üres!"));
        return;
    }
    // The password first: when the store refuses it, the dialog stays open with what was typed.
    QString error;
    if ((m_passwordKnown || !m_password->text().isEmpty()) &&
        !ftppassword::write(m_defaults, m_secrets, m_password->text(), &error)) {
        showMessage(error);
        return;
    }
    FtpSecurity security = FtpSecurity::read(m_defaults.database());
    security.tls = m_ftps->isChecked();
    // Trust given to one server is not handed on to another.
    if (security.keyFor(m_edit1->text()).isEmpty())
        security.pinnedKey.clear();
    security.write(m_defaults.database());
    m_defaults.edit();
    m_defaults.setValue(QStringLiteral("Ftpserver"), m_edit1->text());
    m_defaults.setValue(QStringLiteral("Userid"), m_userid->text());
    m_defaults.post();
    accept();
}
