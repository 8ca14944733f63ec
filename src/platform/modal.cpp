// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/modal.h"

#include <QPointer>
#include <QTimer>
#include <deque>

namespace vitrandel::platform {
namespace {
std::deque<std::function<void(QDialog&)>>& handlers() {
    static std::deque<std::function<void(QDialog&)>> h;
    return h;
}
bool g_testMode = false;
int g_unexpected = 0;
} // namespace

int execModal(QDialog& dialog) {
    if (!handlers().empty()) {
        auto handler = std::move(handlers().front());
        handlers().pop_front();
        QPointer<QDialog> guard(&dialog);
        QTimer::singleShot(0, &dialog, [guard, handler = std::move(handler)] {
            if (guard)
                handler(*guard);
        });
    } else if (g_testMode) {
        ++g_unexpected;
        qWarning("unexpected modal window: %s", qPrintable(dialog.windowTitle()));
        QPointer<QDialog> guard(&dialog);
        QTimer::singleShot(0, &dialog, [guard] {
            if (guard)
                guard->reject();
        });
    }
    return dialog.exec();
}

void ModalSeam::setNextHandler(std::function<void(QDialog&)> handler) {
    handlers().push_back(std::move(handler));
}
bool ModalSeam::hasQueuedHandler() { return !handlers().empty(); }
void ModalSeam::reset() {
    handlers().clear();
    g_unexpected = 0;
}
void ModalSeam::setTestMode(bool on) { g_testMode = on; }
int ModalSeam::unexpectedCount() { return g_unexpected; }

} // namespace vitrandel::platform
