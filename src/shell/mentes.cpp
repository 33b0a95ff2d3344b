#include "shell/mentes.h"

#include "store/database.h"
#include "store/textformat.h"
#include "widgets/dialogframe.h"
#include "widgets/errorboundary.h"
#include "widgets/messages.h"
#include "widgets/workprogress.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int progressSteps = 1000;

int scaled(qint64 done, qint64 total)
{
    return total > 0 ? int(done * progressSteps / total) : 0;
}

QPushButton *namedButton(const QString &caption, const char *name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QString contentsText(const backup::Contents &contents)
{
    QString made;
    if (contents.made.isValid())
        made = QStringLiteral(" (készült: %1)").arg(textformat::timestampText(contents.made));
    return QStringLiteral("A mentés ellenőrzése rendben%1.\nTartalma: %2 ingatlan, %3 archivált "
                          "ingatlan, %4 keresési igény, %5 fénykép.")
        .arg(made)
        .arg(contents.properties)
        .arg(contents.archived)
        .arg(contents.requests)
        .arg(contents.photos);
}

} // namespace

TfMentes::TfMentes(Database &db, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                  Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_db(db)
{
    setObjectName(QStringLiteral("fMentes"));
    setWindowTitle(QStringLiteral("Pelmora - Biztonsági mentés"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeHeading(QStringLiteral("Biztonsági mentés")));
    layout->addWidget(buildSettings());
    layout->addWidget(buildWork());
    addCloseButton(this, layout);
    m_bezar = findChild<QPushButton *>(QStringLiteral("BitBtn1"));
    // "Bezár" is not the default: Enter in the folder field must not close the window.
    m_bezar->setDefault(false);
    setBusy(false, QString());
    fixAndCentre(this);
}

QWidget *TfMentes::buildSettings()
{
    auto *box = new QGroupBox(QStringLiteral("Automatikus mentés kilépéskor"));
    auto *grid = new QGridLayout(box);
    m_kilepeskor = new QCheckBox(QStringLiteral("Biztonsági mentés minden kilépéskor"));
    m_kilepeskor->setObjectName(QStringLiteral("mKilepeskor"));
    m_mappa = new QLineEdit;
    m_mappa->setObjectName(QStringLiteral("mMappa"));
    m_mappa->setMinimumWidth(320);
    m_tallozas = namedButton(QStringLiteral("Tallózás..."), "mTallozas");
    m_megtart = new QSpinBox;
    m_megtart->setObjectName(QStringLiteral("mMegtart"));
    m_megtart->setRange(1, 999);
    m_rogzit = namedButton(QStringLiteral("Rögzít"), "mRogzit");
    grid->addWidget(m_kilepeskor, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Mentések mappája:")), 1, 0);
    grid->addWidget(m_mappa, 1, 1);
    grid->addWidget(m_tallozas, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Megtartott mentések száma:")), 2, 0);
    grid->addWidget(m_megtart, 2, 1, Qt::AlignLeft);
    grid->addWidget(m_rogzit, 3, 2);
    connect(m_tallozas, &QPushButton::clicked, this, &TfMentes::mTallozasClick);
    connect(m_rogzit, &QPushButton::clicked, this, &TfMentes::mRogzitClick);
    return box;
}

QWidget *TfMentes::buildWork()
{
    auto *box = new QGroupBox(QStringLiteral("Mentés és visszaállítás"));
    auto *layout = new QVBoxLayout(box);
    auto *buttons = new QHBoxLayout;
    m_mentes = namedButton(QStringLiteral("Biztonsági mentés"), "mMentes");
    m_visszaallitas = namedButton(QStringLiteral("Visszaállítás..."), "mVisszaallitas");
    buttons->addWidget(m_mentes);
    buttons->addWidget(m_visszaallitas);
    buttons->addStretch();
    layout->addLayout(buttons);
    auto *work = new QHBoxLayout;
    m_folyamat = new QProgressBar;
    m_folyamat->setObjectName(QStringLiteral("mFolyamat"));
    m_folyamat->setRange(0, progressSteps);
    m_megszakit = namedButton(QStringLiteral("Megszakítás"), "mMegszakit");
    work->addWidget(m_folyamat, 1);
    work->addWidget(m_megszakit);
    layout->addLayout(work);
    m_allapot = new QLabel;
    m_allapot->setObjectName(QStringLiteral("mAllapot"));
    m_allapot->setWordWrap(true);
    layout->addWidget(m_allapot);
    connect(m_mentes, &QPushButton::clicked, this, &TfMentes::mMentesClick);
    connect(m_visszaallitas, &QPushButton::clicked, this, &TfMentes::mVisszaallitasClick);
    connect(m_megszakit, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    return box;
}

void TfMentes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfMentes::FormActivate()
{
    const backup::Settings settings = backup::loadSettings();
    m_kilepeskor->setChecked(settings.atQuit);
    m_mappa->setText(QDir::toNativeSeparators(backup::folderFor(settings, m_db.dataDir())));
    m_megtart->setValue(settings.keep);
    // The server's register is the office's, backed up where it lives.
    if (m_db.isServer()) {
        m_mentes->setEnabled(false);
        m_visszaallitas->setEnabled(false);
        m_allapot->setText(backup::serverNotice());
    }
}

// The window cannot go away under running work; the work is cancelled instead.
void TfMentes::reject()
{
    if (m_busy) {
        m_cancelled = true;
        return;
    }
    QDialog::reject();
}

void TfMentes::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        m_cancelled = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfMentes::setBusy(bool busy, const QString &status)
{
    m_busy = busy;
    m_cancelled = false;
    for (QWidget *control :
         {static_cast<QWidget *>(m_mappa), static_cast<QWidget *>(m_tallozas),
          static_cast<QWidget *>(m_kilepeskor), static_cast<QWidget *>(m_megtart),
          static_cast<QWidget *>(m_rogzit), static_cast<QWidget *>(m_mentes),
          static_cast<QWidget *>(m_visszaallitas), static_cast<QWidget *>(m_bezar)})
        control->setEnabled(!busy);
    m_megszakit->setEnabled(busy);
    m_folyamat->setValue(0);
    m_allapot->setText(status);
}

backup::Progress TfMentes::progress()
{
    return [this](qint64 done, qint64 total) {
        m_folyamat->setValue(scaled(done, total));
        // The work runs in this handler; the window repaints and hears "Megszakítás" meanwhile.
        QCoreApplication::processEvents();
        return !m_cancelled;
    };
}

QString TfMentes::folder() const
{
    const QString typed = QDir::fromNativeSeparators(m_mappa->text().trimmed());
    return typed.isEmpty() ? backup::defaultFolder(m_db.dataDir()) : typed;
}

void TfMentes::mTallozasClick()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Pelmora - Mentések mappája"), folder(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty())
        m_mappa->setText(QDir::toNativeSeparators(chosen));
}

void TfMentes::mRogzitClick()
{
    backup::Settings settings;
    const QString chosen = folder();
    // The default folder is stored as such, so it follows the data directory.
    if (QDir::cleanPath(chosen) != QDir::cleanPath(backup::defaultFolder(m_db.dataDir())))
        settings.folder = chosen;
    settings.keep = m_megtart->value();
    settings.atQuit = m_kilepeskor->isChecked();
    guarded([&settings] { backup::saveSettings(settings); });
}

void TfMentes::mMentesClick()
{
    setBusy(true, QStringLiteral("Biztonsági mentés készül..."));
    QString path;
    const std::optional<QString> failure =
        failureOf([&] { path = backup::create(m_db, folder(), progress()); });
    setBusy(false, QString());
    if (failure) {
        m_allapot->setText(QStringLiteral("A biztonsági mentés nem sikerült."));
        showMessage(QStringLiteral("A biztonsági mentés nem sikerült.\n") + *failure);
    } else if (path.isEmpty()) {
        m_allapot->setText(QStringLiteral("A biztonsági mentés megszakítva."));
    } else {
        m_folyamat->setValue(progressSteps);
        m_allapot->setText(QDir::toNativeSeparators(path));
        showMessage(QStringLiteral("A biztonsági mentés elkészült:\n") +
                    QDir::toNativeSeparators(path));
    }
}

void TfMentes::mVisszaallitasClick()
{
    QFileDialog dialog(this, QStringLiteral("Pelmora - Visszaállítás"), folder());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(
        {QStringLiteral("Biztonsági mentések (*.tar)"), QStringLiteral("Minden fájl (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    restoreFrom(dialog.selectedFiles().constFirst());
}

void TfMentes::restoreFrom(const QString &path)
{
    const QString dataDir = m_db.dataDir();
    setBusy(true, QStringLiteral("A mentés ellenőrzése..."));
    std::optional<backup::Contents> contents;
    const std::optional<QString> failure =
        failureOf([&] { contents = backup::stage(path, dataDir, progress()); });
    setBusy(false, QString());
    if (failure) {
        m_allapot->setText(QStringLiteral("A visszaállítás elmaradt."));
        showMessage(*failure);
        return;
    }
    if (!contents) {
        m_allapot->setText(QStringLiteral("Az ellenőrzés megszakítva."));
        return;
    }
    m_folyamat->setValue(progressSteps);
    const QDateTime now = QDateTime::currentDateTime();
    const QString aside =
        QStringLiteral("elozo-adatok-") + now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    if (!askQuestion(contentsText(*contents) +
                     QStringLiteral("\n\nVisszaállítja? A jelenlegi adatok az adatkönyvtár "
                                    "\"%1\" mappájába kerülnek, majd a program újraindul.")
                         .arg(aside))) {
        backup::discardStaged(dataDir);
        m_allapot->setText(QStringLiteral("A visszaállítás elmaradt."));
        return;
    }
    if (const auto unconfirmed = failureOf([&] { backup::confirmStaged(dataDir, now); })) {
        backup::discardStaged(dataDir);
        showMessage(*unconfirmed);
        return;
    }
    m_restoreConfirmed = true;
    showMessage(QStringLiteral("A program most újraindul a visszaállított adatokkal."));
    accept();
}

void backupAtQuit(Database &db)
{
    const backup::Settings settings = backup::loadSettings();
    if (!settings.atQuit || db.isServer())
        return;
    const QString folder = backup::folderFor(settings, db.dataDir());
    WorkProgress window(QStringLiteral("Biztonsági mentés készül..."),
                        QStringLiteral("fMentesKilepes"),
                        QStringLiteral("Pelmora - Biztonsági mentés"));
    const backup::Progress progress = window.reporter();
    const std::optional<QString> failure = failureOf([&] {
        if (!backup::create(db, folder, progress).isEmpty())
            backup::rotate(folder, settings.keep);
    });
    if (failure) {
        window.hide();
        showMessage(QStringLiteral("A kilépéskori biztonsági mentés nem sikerült.\n") + *failure);
    }
}
