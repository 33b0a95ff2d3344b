#include "widgets/messages.h"

#include "widgets/dialogframe.h"
#include "widgets/kerdes.h"
#include "widgets/uzenet.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <memory>

namespace {

QPointer<TfUzenet> installedMessage;
QPointer<TfKerdes> installedQuestion;

template<typename Dialog>
int showModal(Dialog *installed, const QString &text)
{
    std::unique_ptr<Dialog> fresh;
    Dialog *dialog = installed;
    if (!dialog) {
        fresh = std::make_unique<Dialog>(QApplication::activeWindow());
        dialog = fresh.get();
    }
    dialog->setText(text);
    fixAndCentre(dialog);
    return dialog->exec();
}

} // namespace

void installDialogs(TfUzenet *message, TfKerdes *question)
{
    installedMessage = message;
    installedQuestion = question;
}

void showMessage(const QString &text)
{
    showModal<TfUzenet>(installedMessage.data(), text);
}

bool askQuestion(const QString &text)
{
    return showModal<TfKerdes>(installedQuestion.data(), text) == QDialog::Accepted;
}

void showPlainMessage(const QString &text, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pelmora"), text, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    box.exec();
}
