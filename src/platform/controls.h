// SPDX-License-Identifier: GPL-2.0-or-later
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

class QComboBox;
class QString;
class QWidget;

namespace vitrandel {
struct Project;
}

namespace vitrandel::platform {

// Main windows open in the middle of the screen, frame included.
void centerOnScreen(QWidget* window);

// A category chooser: `first` (everything, or no category), then the
// listing's categories, so that an entry's index is the category's number.
void fillCategoryChoices(QComboBox* combo, const QString& first, const Project& p);

} // namespace vitrandel::platform
