#include "platform/picture_views.h"

#include <QLabel>
#include <QPixmap>

#include "platform/pictures.h"

namespace vitrandel::platform {

void showPictureIn(QLabel* view, const QString& path, bool stretched) {
    if (stretched) {
        const qreal ratio = view->devicePixelRatioF();
        QImage image = loadPicture(path, {.stretchTo = view->contentsRect().size() * ratio, .naturalClip = {}});
        image.setDevicePixelRatio(ratio);
        view->setPixmap(QPixmap::fromImage(image));
    } else {
        view->setPixmap(QPixmap::fromImage(loadPicture(path, {.stretchTo = {}, .naturalClip = view->contentsRect().size()})));
    }
}

} // namespace vitrandel::platform
