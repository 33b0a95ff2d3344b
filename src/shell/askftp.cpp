#include "askftp.h"

#include "cursor.h"
#include "dialogframe.h"
#include "messages.h"

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
{
    setObjectName(QStringLiteral("fFtp"));
    setWindowTitle(QStringLiteral("Pelmora - Ingatlan Nyilvántartás"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("FTP szerver beállításai")));
    auto *grid = new QGridLayout;
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setMinimumWidth(260);
    m_userid->setObjectName(QStringLiteral("eUserid"));
    m_userid->setMaxLength(6);
    m_password->setObjectName(QStringLiteral("eFtppass"));
    m_password->setMaxLength(12);
    m_password->setEchoMode(QLineEdit::Password);
    grid->addWidget(new QLabel(QStringLiteral("Szerver neve vagy IP címe:")), 0, 0);
    grid->addWidget(m_edit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Irodai azonosító:")), 1, 0);
    grid->addWidget(m_userid, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("FTP jelszó:")), 2, 0);
    grid->addWidget(m_password, 2, 1);
    layout->addLayout(grid);

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
    m_password->setText(m_defaults.text(QStringLiteral("Ftppass")));
    m_edit1->setFocus();
}

void TfFtp::BitBtn1Click()
{
    if (m_edit1->text().isEmpty()) {
        showMessage(QStringLiteral("A mező üres!"));
        return;
    }
    m_defaults.edit();
    m_defaults.setValue(QStringLiteral("Ftpserver"), m_edit1->text());
    m_defaults.setValue(QStringLiteral("Userid"), m_userid->text());
    m_defaults.setValue(QStringLiteral("Ftppass"), m_password->text());
    m_defaults.post();
    accept();
}
