#pragma once

#include <QString>

class QLabel;

namespace vitrandel::platform {

// Fills a picture view with a picture file, decoded at no more than the view
// shows: stretched to the view's whole area, or at its natural size from the
// top-left corner, clipped to the view. A file that cannot be decoded leaves
// the view empty.
void showPictureIn(QLabel* view, const QString& path, bool stretched);

} // namespace vitrandel::platform
