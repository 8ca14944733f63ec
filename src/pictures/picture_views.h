// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QLabel;

// Picture views filled by the picture process, at no more than they show:
// stretched to the view's whole area (in the screen's device pixels), or at
// natural size from the top-left corner, clipped to the view.
namespace vitrandel::pictures {

// The view shows the picture once it is drawn, at once when it is in the
// cache, and nothing meanwhile: never the picture of an earlier call, which
// this call supersedes. A file that cannot be shown leaves the view empty.
void showPictureIn(QLabel* view, const QString& path, bool stretched);

// Empties the view; a picture asked for earlier no longer fills it.
void clearPictureView(QLabel* view);

// Has the picture drawn in advance for the view, as the element the user may
// select next.
void prefetchFor(const QLabel* view, const QString& path, bool stretched);

} // namespace vitrandel::pictures
