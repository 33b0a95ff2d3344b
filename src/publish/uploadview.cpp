#include "publish/uploadview.h"

using namespace Qt::StringLiterals;

QString uploadViewFilter(UploadView view, bool onlyWaiting)
{
    const QString waitingPublished = u"(Web = True or Apro = True) and Feltoltve = False"_s;
    switch (view) {
    case UploadView::OnEntry:
        return onlyWaiting ? waitingPublished : QString();
    case UploadView::Published:
        return onlyWaiting ? waitingPublished : u"Web = True or Apro = True"_s;
    case UploadView::AnyState:
        return onlyWaiting ? u"Feltoltve = False"_s : QString();
    }
    return QString();
}
