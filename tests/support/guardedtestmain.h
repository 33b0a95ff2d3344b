#pragma once

#include "widgets/errorboundary.h"

#include <QtTest>

// QTEST_MAIN with the program's own application object, so a window under test meets errors
// exactly as the program does: Qt's test runner aborts on an exception that reaches it.
#define PELMORA_GUARDED_TEST_MAIN(TestObject)                                                      \
    QTEST_MAIN_WRAPPER(TestObject,                                                                 \
                       QTEST_QAPP_SETUP(GuardedApplication) QTEST_DISABLE_KEYPAD_NAVIGATION)
