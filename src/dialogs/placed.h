#pragma once

#include <QWidget>

#include "platform/twips.h"

namespace vitrandel {

// Every control of a dialog sits where its design puts it, in twips, and is
// found by its design name.
template <typename W>
W* placed(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(platform::twipsRect(left, top, width, height));
    return widget;
}

} // namespace vitrandel
