// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QApplication;

namespace vitrandel::platform {

// The application's style, drawing exactly as the one Qt chose. Called once,
// after QApplication and before the first window.
//
// Fusion draws every group-box frame from a PNG among its resources, read
// without naming its format; Qt then asks each image plugin in turn whether it
// reads PNG, loading every one of them (and the SVG and JPEG libraries behind
// them) in the middle of the first paint. The program's style reads that same
// picture as PNG outright and draws the frame as Fusion does; and it reads
// the icon of a menu bar's button for menus that do not fit, which goes the
// same way, only when that button is first drawn.
void useProgramStyle(QApplication& app);

} // namespace vitrandel::platform
