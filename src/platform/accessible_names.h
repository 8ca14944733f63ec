// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QApplication;
class QString;
class QWidget;

// Names for screen readers. The windows place their captions beside their
// controls, as their design did, without tying the two: every control is
// named after the caption it sits beside when its window is shown.
namespace vitrandel::platform {

// A caption as it is read: without its mnemonic '&' and its closing ':'.
QString spokenName(const QString& caption);

// Names each text box, list and drop-down list of `window` after the caption
// at its left on its row, or else the caption just above it; one without
// such a caption keeps the name it was given, or takes its frame's title.
void nameControls(QWidget* window);

// nameControls on every window as it is first shown.
void useAccessibleNames(QApplication& app);

} // namespace vitrandel::platform
