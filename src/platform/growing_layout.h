// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace vitrandel::platform {

// Controls laid out at their design places in a window that may be made
// larger than its design: each one takes a fixed share of the room the
// window has grown by. At the design size every control is where it was put.
class GrowingLayout : public QObject {
public:
    // Shares of the growth (0 to 1) added to a control's left, top, width and height.
    struct Share {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
    };

    // `area` holds the controls; it is designed at its current size, which
    // becomes its smallest.
    explicit GrowingLayout(QWidget* area);

    // `control` keeps its current geometry at the design size.
    void follow(QWidget* control, Share share);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Followed {
        QWidget* control;
        QRect design;
        Share share;
    };
    void arrange();

    QWidget* area_;
    QSize design_;
    std::vector<Followed> followed_;
};

// Opens `window` at the size and place it had when last closed, or, the first
// time, where the caller put it; a remembered size never exceeds the screen
// it opens on. Its place is remembered under its name when it closes.
void rememberPlace(QWidget* window);

} // namespace vitrandel::platform
