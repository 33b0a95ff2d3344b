#include "shell/about.h"

#include "store/cp1250.h"
#include "store/datadirectory.h"
#include "store/textformat.h"
#include "widgets/dialogframe.h"
#include "widgets/messages.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfAbout::TfAbout(const QString &dataDir, QWidget *parent)
    : QDialog(parent)
    , m_dataDir(dataDir)
    , m_memo(new QPlainTextEdit)
{
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("Pelmora - Névjegy"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Pelmora Ingatlan Nyilvántartási Szoftver")));
    auto *body = new QHBoxLayout;
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setMinimumSize(420, 260);
    body->addWidget(m_memo, 1);
    auto *maker = new QLabel(
        QStringLiteral("Pelmora\nIngatlan Nyilvántartás\n\nKészítette:\na Pelmora fejlesztői\n\n"
                       "Edition: 20011002/1"));
    maker->setObjectName(QStringLiteral("Label2"));
    maker->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    body->addWidget(maker);
    layout->addLayout(body);
    addCloseButton(this, layout);
    fixAndCentre(this);
}

void TfAbout::loadLicence()
{
    const QString path = datadirectory::licencePath(m_dataDir);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_memo->setPlainText(QStringLiteral("A licencszöveg nem olvasható."));
        showPlainMessage(
            QStringLiteral("A fájl nem olvasható: %1\n%2").arg(path, file.errorString()), this);
        return;
    }
    m_memo->setPlainText(textformat::memoToEdit(cp1250::decode(file.readAll())));
}
