// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/growing_layout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vitrandel::platform {
namespace {

int grown(int design, double share, int growth) {
    return design + static_cast<int>(std::lround(share * growth));
}

QSettings windowSettings() {
    return QSettings(QStringLiteral("vitrandel"), QStringLiteral("vitrandel"));
}

QString placeKey(const QWidget* window) {
    return QStringLiteral("ventanas/") + window->objectName();
}

// A window remembered on a larger screen, or at a larger scale, fits this
// one, frame included (known once the window is shown).
void fitOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen || window->isMaximized() || window->isFullScreen())
        return;
    const QRect room = screen->availableGeometry();
    const QSize margins = window->frameGeometry().size() - window->size();
    const QSize fits = window->size().boundedTo(room.size() - margins);
    if (fits != window->size())
        window->resize(fits.expandedTo(window->minimumSize()));
    QRect placed = window->frameGeometry();
    placed.moveLeft(std::clamp(placed.left(), room.left(),
                               std::max(room.left(), room.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), room.top(),
                              std::max(room.top(), room.bottom() - placed.height() + 1)));
    window->move(placed.topLeft());
}

// Remembers a window's place when it closes; fits a remembered place on the
// screen when the window is first shown.
class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget* window, bool fit) : QObject(window), fit_(fit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Close)
            windowSettings().setValue(placeKey(window), window->saveGeometry());
        if (event->type() == QEvent::Show && fit_) {
            fit_ = false;
            fitOnScreen(window);
        }
        return false;
    }

private:
    bool fit_;
};

} // namespace

GrowingLayout::GrowingLayout(QWidget* area) : QObject(area), area_(area), design_(area->size()) {
    area->setMinimumSize(design_);
    area->installEventFilter(this);
}

void GrowingLayout::follow(QWidget* control, Share share) {
    followed_.push_back({control, control->geometry(), share});
    arrange();
}

bool GrowingLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize)
        arrange();
    return false;
}

void GrowingLayout::arrange() {
    const int dx = std::max(0, area_->width() - design_.width());
    const int dy = std::max(0, area_->height() - design_.height());
    for (const Followed& f : followed_)
        f.control->setGeometry(grown(f.design.x(), f.share.left, dx),
                               grown(f.design.y(), f.share.top, dy),
                               grown(f.design.width(), f.share.width, dx),
                               grown(f.design.height(), f.share.height, dy));
}

void rememberPlace(QWidget* window) {
    const QByteArray remembered = windowSettings().value(placeKey(window)).toByteArray();
    const bool restored = !remembered.isEmpty() && window->restoreGeometry(remembered);
    if (restored)
        fitOnScreen(window);
    window->installEventFilter(new PlaceKeeper(window, restored));
}

} // namespace vitrandel::platform
