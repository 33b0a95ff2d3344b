#pragma once

#include <QPixmap>

// The picture the work area shows when no panel is open.
QPixmap workAreaBackground(const QSize &size);
