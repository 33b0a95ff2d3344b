#include "reporting.h"

#include "messages.h"
#include "storeerror.h"

bool runReportingErrors(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const StoreError &error) {
        showMessage(error.message());
        return false;
    }
}
