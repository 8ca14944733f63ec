// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QIcon>
#include <QIconEngine>

namespace vitrandel::platform {

// An icon whose pictures are read only when it is first drawn or measured:
// a window builds many icons it never shows, and reading their pictures
// early costs start-up time (and, read the wrong way, loads Qt's plugins).
class LazyIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }

protected:
    // Adds the pictures to `icon`, once, when they are first needed.
    virtual void make(QIcon& icon) = 0;
    // Pictures added since the icon was made are read when next needed.
    void remake() { made_ = false; }
    bool made() const { return made_; }

    QIcon& icon() {
        if (!made_)
            make(icon_);
        made_ = true;
        return icon_;
    }

private:
    QIcon icon_;
    bool made_ = false;
};

} // namespace vitrandel::platform
