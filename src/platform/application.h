#pragma once

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
void useDesignFont(QApplication& app);

// The program's own icon on every window, and the name of its desktop entry,
// which Wayland compositors use to find the icon themselves.
void useProgramIcon(QGuiApplication& app);

} // namespace vitrandel::platform
