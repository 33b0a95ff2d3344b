#pragma once

#include <QString>

// What the upload panel lists of the register.
enum class UploadView {
    OnEntry, // as the panel opens: everything, or what waits to be published
    Published, // the properties allowed on the portal or among the ads
    AnyState, // every property, or every one that waits
};

// The filter text of a view; `onlyWaiting` is the panel's box for properties changed since
// the last upload.
QString uploadViewFilter(UploadView view, bool onlyWaiting);
