// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;

namespace vitrandel {

// A description's picture seen large, in a window of its own: fitted to the
// window or at a chosen zoom, stepping through the pictures of the elements
// of the list it was opened from.
class LargePicture : public QWidget {
    Q_OBJECT

public:
    struct Entry {
        QString name; // the element's, shown as the caption
        QString path;
    };

    // Opens on `entries[at]`, as large as the screen allows.
    LargePicture(QWidget* parent, std::vector<Entry> entries, int at);

    int shown() const { return at_; }
    // Zoom against the picture's own size; 0 when fitted to the window.
    double zoom() const { return zoom_; }

    void showEntry(int at);
    void fit();
    void setZoom(double zoom);
    void zoomBy(double factor);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw();

    std::vector<Entry> entries_;
    int at_ = 0;
    double zoom_ = 0;
    QSize natural_;
    bool described_ = false;
    QScrollArea* area_;
    QLabel* picture_;
    QPushButton* ajustar_;
    QPushButton* tamano_real_;
    QLabel* escala_;
};

} // namespace vitrandel
