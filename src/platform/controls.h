#pragma once

#include <QLatin1String>
#include <QRect>

namespace vitrandel::platform {

// Names a control after its design name (tests find it by that name) and puts
// it at its design place.
template <typename W> W* place(W* control, const char* name, const QRect& geometry) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

} // namespace vitrandel::platform

class QWidget;

namespace vitrandel::platform {

// Main windows open in the middle of the screen, frame included.
void centerOnScreen(QWidget* window);

} // namespace vitrandel::platform
