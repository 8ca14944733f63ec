#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, context menus) in Spanish, to match ours.
namespace vitrandel::platform {

// False when Qt's Spanish catalogue is not installed; Qt's English texts stay.
bool installQtTranslation(QCoreApplication& app);

} // namespace vitrandel::platform
