// SPDX-License-Identifier: GPL-2.0-or-later
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <string_view>

#include "editor/print_process.h"
#include "model/project.h"
#include "pictures/picture_client.h"
#include "platform/accessible_names.h"
#include "platform/application.h"
#include "platform/fonts.h"
#include "platform/png_icons.h"
#include "platform/style.h"
#include "startup/inicial.h"
#include "startup/terminal.h"

namespace {
// Short enough that no one sees a window without its icon.
constexpr std::chrono::milliseconds kIconDelay{100};

bool namesPictures(const vitrandel::Project& p) {
    const int count = std::min<int>(p.elementCount, vitrandel::kMaxElements);
    for (int i = 0; i < count; ++i)
        if (!p.elements[static_cast<std::size_t>(i)].imagePath.empty())
            return true;
    return false;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == vitrandel::kPrintJobSwitch)
        return vitrandel::runPrintJob(argv[0]);
    if (const auto status = vitrandel::startup::answerOnTerminal(argc, argv))
        return *status;
    vitrandel::platform::readFontConfiguration();
    QApplication app(argc, argv);
    // Taken after QApplication has removed its own options (-style and the
    // like), so that only the remaining words name the listing.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));

    vitrandel::platform::installQtTranslation(app);
    vitrandel::platform::useProgramStyle(app);
    vitrandel::platform::readIconsAsPng();
    vitrandel::platform::useDesignFont(app);
    vitrandel::platform::useAccessibleNames(app);
    vitrandel::platform::useDesktopEntry(app);
    const auto started = vitrandel::startup::Main(arguments);
    vitrandel::startup::quitAfterFirstPaintIfAsked(started.window);
    // A moment after the first paint, once the window is on the screen and
    // whatever that paint set going has run.
    if (started.window)
        vitrandel::startup::whenFirstPainted(started.window, [&app] {
            QTimer::singleShot(kIconDelay, &app, [&app] {
                vitrandel::platform::useProgramIcon(app);
                // A listing with pictures will show one soon: the picture
                // process starts now rather than on the first selection.
                if (namesPictures(vitrandel::project()))
                    vitrandel::pictures::PictureClient::instance().warmUp();
            });
        });
    return QApplication::exec();
}
