// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <functional>

// Modal windows are opened through execModal(), so that a test can queue what
// to do with the next one while it is open.
namespace vitrandel::platform {

int execModal(QDialog& dialog);

class ModalSeam {
public:
    // Runs once, on the next modal window, after it has been shown.
    static void setNextHandler(std::function<void(QDialog&)> handler);
    static bool hasQueuedHandler();
    static void reset();
    // In test mode a modal window that no test expected is cancelled at once
    // (instead of waiting for a user) and counted, so that the test can fail.
    static void setTestMode(bool on);
    static int unexpectedCount();
};

} // namespace vitrandel::platform
