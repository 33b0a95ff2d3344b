#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTest>
#include <type_traits>

// Looks up a window's control by objectName. A missing one fails the running test, not the whole
// test program as qFatal would, and hands back a detached stand-in, so the test can go on and
// report the rest of what it finds.
template<typename T = QWidget>
T *control(const QObject *root, const QString &name)
{
    if (T *found = root->findChild<T *>(name))
        return found;
    const QString failure =
        QStringLiteral("no control %1 in %2").arg(name, root ? root->objectName() : QString());
    QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>) {
        static QPointer<T> standIn;
        if (!standIn)
            standIn = new T;
        return standIn;
    } else {
        return nullptr;
    }
}

template<typename T = QWidget>
T *control(const QObject *root, const char *name)
{
    return control<T>(root, QString::fromUtf8(name));
}
