#include "publish/feltoltes.h"

#include "widgets/dialogframe.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>

TfFeltoltes::TfFeltoltes(RegisterState &cursors, QWidget *parent)
    : QDialog(parent)
    , m_run(cursors)
    , m_uAllapotLista(new QPlainTextEdit)
    , m_uVonal(new QProgressBar)
    , m_uBezar(new QPushButton(QStringLiteral("Bezár")))
{
    setObjectName(QStringLiteral("fFeltoltes"));
    setWindowTitle(QStringLiteral("Pelmora - Feltöltés"));

    auto *layout = new QVBoxLayout(this);
    QLabel *heading = makeHeading(QStringLiteral("Feltöltés folyamatban..."));
    heading->setObjectName(QStringLiteral("RxLabel4"));
    layout->addWidget(heading);

    m_uAllapotLista->setObjectName(QStringLiteral("uAllapotLista"));
    m_uAllapotLista->setReadOnly(true);
    m_uAllapotLista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_uAllapotLista->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_uAllapotLista->setMinimumSize(520, 300);
    layout->addWidget(m_uAllapotLista);

    m_uVonal->setObjectName(QStringLiteral("uVonal"));
    m_uVonal->setRange(0, 100);
    m_uVonal->setValue(0);
    m_uVonal->setTextVisible(true);
    m_uVonal->setFormat(QStringLiteral("%p%"));
    layout->addWidget(m_uVonal);

    m_uBezar->setObjectName(QStringLiteral("uBezar"));
    m_uBezar->setEnabled(false);
    m_uBezar->setAutoDefault(false);
    connect(m_uBezar, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(m_uBezar, 0, Qt::AlignCenter);

    connect(&m_run, &UploadRun::logged, m_uAllapotLista, &QPlainTextEdit::appendPlainText);
    connect(&m_run, &UploadRun::transferStarted, m_uVonal, [this] { m_uVonal->setValue(0); });
    connect(&m_run, &UploadRun::progressed, this, &TfFeltoltes::showProgress);
    m_run.setTrustQuestion([](const QString &question) { return askQuestion(question); });
    connect(&m_run, &UploadRun::problem, this,
            [this](const QString &message) { showPlainMessage(message, this); });

    fixAndCentre(this);
}

void TfFeltoltes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Once the window is on screen, so that the first log lines are seen as they come.
        QTimer::singleShot(0, this, &TfFeltoltes::FormActivate);
    }
}

void TfFeltoltes::FormActivate()
{
    m_uBezar->setEnabled(false);
    m_uAllapotLista->clear();
    const UploadRun::Ending ending = m_run.run();
    if (ending == UploadRun::Ending::Success || ending == UploadRun::Ending::WithErrors)
        QApplication::beep();
    m_uBezar->setEnabled(true);
    m_ended = true;
}

void TfFeltoltes::showProgress(qint64 done, qint64 total)
{
    // A bar counts in int; a file beyond that is shown in coarser steps.
    int shift = 0;
    while ((total >> shift) > INT_MAX)
        ++shift;
    m_uVonal->setRange(0, static_cast<int>(total >> shift));
    m_uVonal->setValue(static_cast<int>(done >> shift));
}

void TfFeltoltes::closeEvent(QCloseEvent *event)
{
    if (m_run.isRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfFeltoltes::reject()
{
    if (m_run.isRunning())
        return;
    QDialog::reject();
}
