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
    }
    return dialog.exec();
}

void ModalSeam::setNextHandler(std::function<void(QDialog&)> handler) {
    handlers().push_back(std::move(handler));
}
bool ModalSeam::hasQueuedHandler() { return !handlers().empty(); }
void ModalSeam::reset() { handlers().clear(); }

} // namespace vitrandel::platform
