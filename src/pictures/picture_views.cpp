// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/picture_views.h"

#include <QLabel>
#include <QPixmap>

#include "pictures/picture_client.h"

namespace vitrandel::pictures {
namespace {

PictureRequest requestFor(const QLabel* view, bool stretched) {
    if (stretched)
        return {.stretchTo = view->contentsRect().size() * view->devicePixelRatioF(), .naturalClip = {}};
    return {.stretchTo = {}, .naturalClip = view->contentsRect().size()};
}

} // namespace

void showPictureIn(QLabel* view, const QString& path, bool stretched) {
    const qreal ratio = view->devicePixelRatioF();
    view->clear();
    PictureClient::instance().ask(view, path, requestFor(view, stretched), [view, ratio, stretched](const Picture& p) {
        QImage image = p.image;
        if (stretched)
            image.setDevicePixelRatio(ratio);
        view->setPixmap(QPixmap::fromImage(image));
    });
}

void clearPictureView(QLabel* view) {
    PictureClient::instance().cancel(view);
    view->clear();
}

void prefetchFor(const QLabel* view, const QString& path, bool stretched) {
    PictureClient::instance().prefetch(path, requestFor(view, stretched));
}

} // namespace vitrandel::pictures
