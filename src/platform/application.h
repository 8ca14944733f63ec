// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtGlobal>

class QApplication;
class QCoreApplication;
class QGuiApplication;

// What every window of the program shares, set once at start-up.
namespace vitrandel::platform {

// Qt's own texts (standard buttons, context menus) in Spanish, to match ours.
// False when Qt's Spanish catalogue is not installed; Qt's English texts stay.
bool installQtTranslation(QCoreApplication& app);

// The windows are laid out in twips for the Windows dialog font, MS Sans
// Serif 8: with it every caption fits its label. Without it Qt's default stays.
// Text is drawn for the largest device pixel ratio among the screens, followed
// as screens come, go or change.
void useDesignFont(QApplication& app);

// Text, the application's font among it, drawn for screens of this ratio.
void drawTextForRatio(qreal ratio);

// The name of the program's desktop entry, which Wayland compositors use to
// find its icon themselves; set before the first window is made.
void useDesktopEntry(QGuiApplication& app);

// The program's own icon on every window. Reading it wakes Qt's image
// plugins, which costs the first window more than anything it draws: the
// program sets it once that window has been painted.
void useProgramIcon(QGuiApplication& app);

} // namespace vitrandel::platform
