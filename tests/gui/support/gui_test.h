// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "discs/recent_listings.h"
#include "editor/print_process.h"
#include "pictures/picture_client.h"
#include "platform/accessible_names.h"
#include "platform/message_box.h"
#include "platform/modal.h"

// Shared set-up for tests that drive real windows: message boxes never block,
// and a box that no test answered fails the test that caused it.
namespace vitrandel_test_support {

inline void startGuiTest() {
    // Recovery copies of the editors a test opens stay out of the user's own.
    static QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    // Windows remember their places in the user's settings: tests keep theirs
    // in a folder of their own, which starts empty.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    // Tests run from their own folder, not beside the program.
    vitrandel::pictures::PictureClient::instance().setProgram(QStringLiteral(VITRANDEL_PICTURE_HELPER));
    vitrandel::setPrintProgram(QStringLiteral(VITRANDEL_PRINT_PROGRAM));
    vitrandel::platform::MessageBoxSeam::setTestMode(true);
    vitrandel::platform::ModalSeam::setTestMode(true);
    vitrandel::platform::MessageBoxSeam::reset();
    vitrandel::platform::ModalSeam::reset();
    vitrandel::discs::RecentListingsSeam::setTestMode(true);
    vitrandel::platform::useAccessibleNames(*qApp);
}

// Views get their pictures when the picture process has drawn them.
inline void waitForPictures() { vitrandel::pictures::PictureClient::instance().settle(); }

} // namespace vitrandel_test_support

// Use in every GUI test's cleanup().
#define VITRANDEL_VERIFY_NO_UNANSWERED_BOXES()                                                     \
    do {                                                                                           \
        const int unanswered = vitrandel::platform::MessageBoxSeam::unansweredCount();            \
        const bool leftover = vitrandel::platform::MessageBoxSeam::hasQueuedAnswer();             \
        const bool unusedDialog = vitrandel::platform::ModalSeam::hasQueuedHandler();             \
        const int unexpectedDialogs = vitrandel::platform::ModalSeam::unexpectedCount();          \
        const auto shown = vitrandel::platform::MessageBoxSeam::takeShown();                      \
        vitrandel::platform::MessageBoxSeam::reset();                                              \
        vitrandel::platform::ModalSeam::reset();                                                   \
        for (const auto& m : shown)                                                                \
            if (!m.answered)                                                                       \
                qWarning("unanswered message box: %s", qPrintable(m.text));                        \
        QCOMPARE(unanswered, 0);                                                                   \
        QVERIFY2(!leftover, "a queued message-box answer was never used");                        \
        QVERIFY2(!unusedDialog, "a queued dialog interaction was never used");                     \
        QCOMPARE(unexpectedDialogs, 0);                                                            \
    } while (false)
