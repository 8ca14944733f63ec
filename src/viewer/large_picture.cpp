// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewer/large_picture.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "pictures/picture_client.h"

namespace vitrandel {
namespace {

constexpr double kZoomStep = 1.25;
constexpr double kLeastZoom = 1.0 / 16;
constexpr double kMostZoom = 16;
// Beyond this many device pixels a side a zoomed picture is not decoded larger.
constexpr int kLargestSide = 16384;

} // namespace

LargePicture::LargePicture(QWidget* parent, std::vector<Entry> entries, int at)
    : QWidget(parent, Qt::Window), entries_(std::move(entries)) {
    setObjectName(QStringLiteral("LargePicture"));
    setAttribute(Qt::WA_DeleteOnClose);

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("area"));
    area_->setAlignment(Qt::AlignCenter);
    area_->setFocusPolicy(Qt::NoFocus);
    area_->viewport()->installEventFilter(this);
    picture_ = new QLabel(area_);
    picture_->setObjectName(QStringLiteral("imagen"));
    picture_->setAccessibleName(QStringLiteral("Imagen"));
    area_->setWidget(picture_);

    ajustar_ = new QPushButton(QStringLiteral("&Ajustar"), this);
    ajustar_->setObjectName(QStringLiteral("ajustar"));
    tamano_real_ = new QPushButton(QStringLiteral("&100 %"), this);
    tamano_real_->setObjectName(QStringLiteral("tamano_real"));
    escala_ = new QLabel(this);
    escala_->setObjectName(QStringLiteral("escala"));
    for (QPushButton* b : {ajustar_, tamano_real_})
        b->setFocusPolicy(Qt::NoFocus); // the arrows step through the pictures; Alt+A, Alt+1 press them
    connect(ajustar_, &QPushButton::clicked, this, &LargePicture::fit);
    connect(tamano_real_, &QPushButton::clicked, this, [this] { setZoom(1); });

    auto* bar = new QHBoxLayout;
    bar->addWidget(ajustar_);
    bar->addWidget(tamano_real_);
    bar->addWidget(escala_);
    bar->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(area_, 1);
    column->addLayout(bar);

    const QScreen* screen =
        parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        // Room for the window's frame, which only the window system knows.
        resize(room.size() * 0.95);
        move(room.center() - rect().center());
    }
    setFocusPolicy(Qt::StrongFocus);
    showEntry(std::clamp(at, 0, int(entries_.size()) - 1));
}

void LargePicture::showEntry(int at) {
    if (at < 0 || at >= int(entries_.size()))
        return;
    at_ = at;
    setWindowTitle(entries_[std::size_t(at)].name);
    // Nothing of the last picture stays under this one's caption; its size
    // comes first, from the picture process, and the arrows never wait for it.
    natural_ = QSize();
    described_ = false;
    zoom_ = 0;
    picture_->clear();
    picture_->resize(QSize());
    escala_->clear();
    using pictures::protocol::Kind;
    pictures::PictureClient::instance().ask(this, {entries_[std::size_t(at)].path, {}, Kind::Describe},
                                            [this](const pictures::Picture& p) {
                                                natural_ = p.ok ? p.naturalSize : QSize();
                                                described_ = true;
                                                draw();
                                            });
}

void LargePicture::fit() {
    zoom_ = 0;
    draw();
}

void LargePicture::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, kLeastZoom, kMostZoom);
    draw();
}

void LargePicture::zoomBy(double factor) {
    double current = zoom_;
    if (current == 0 && !natural_.isEmpty())
        current = double(picture_->width()) / natural_.width();
    setZoom((current > 0 ? current : 1) * factor);
}

// Decoded at the size it is shown, in device pixels: a metafile is drawn at
// that size rather than enlarged from a small bitmap.
void LargePicture::draw() {
    if (entries_.empty() || !described_)
        return;
    const QSize room = area_->viewport()->size();
    QSize size = natural_.isEmpty() ? room : natural_;
    if (zoom_ == 0)
        size = size.scaled(room, Qt::KeepAspectRatio);
    else
        size = (QSizeF(natural_) * zoom_).toSize();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels =
        (QSizeF(size) * ratio).toSize().boundedTo(QSize(kLargestSide, kLargestSide));
    const auto show = [this, ratio](QImage image) {
        image.setDevicePixelRatio(ratio);
        picture_->setPixmap(QPixmap::fromImage(image));
        picture_->resize(image.isNull() ? QSize() : image.deviceIndependentSize().toSize());
        area_->setWidgetResizable(false);
        const double shownZoom = natural_.isEmpty() ? 1 : double(picture_->width()) / natural_.width();
        escala_->setText(QStringLiteral("%1 %").arg(std::lround(shownZoom * 100)));
    };
    if (pixels.isEmpty()) {
        pictures::PictureClient::instance().cancel(this);
        show({});
        return;
    }
    pictures::PictureClient::instance().ask(this, entries_[std::size_t(at_)].path,
                                            {.stretchTo = pixels, .naturalClip = {}},
                                            [show](const pictures::Picture& p) { show(p.image); });
}

void LargePicture::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        showEntry(at_ - 1);
        return;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        showEntry(at_ + 1);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (ctrl) {
            zoomBy(kZoomStep);
            return;
        }
        break;
    case Qt::Key_Minus:
        if (ctrl) {
            zoomBy(1 / kZoomStep);
            return;
        }
        break;
    case Qt::Key_0:
        if (ctrl) {
            setZoom(1);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool LargePicture::eventFilter(QObject* watched, QEvent* event) {
    // Fitted, the picture follows the room it is given.
    if (watched == area_->viewport() && event->type() == QEvent::Resize && zoom_ == 0)
        draw();
    if (watched == area_->viewport() && event->type() == QEvent::ScreenChangeInternal)
        draw();
    if (watched == area_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            if (steps != 0)
                zoomBy(steps > 0 ? kZoomStep : 1 / kZoomStep);
            return true;
        }
    }
    return false;
}

} // namespace vitrandel
