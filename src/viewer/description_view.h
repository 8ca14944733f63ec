// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <string>

class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QTimer;
class QWidget;

namespace vitrandel {

struct Element;

// Entries of the editor's element list stand for one element each, by its
// position: a listing may hold names that differ only in letter case, and
// each entry must still mean its own element.
void addElementEntry(QListWidget* list, const std::string& name, int position);

// The position of the element an entry stands for; -1 when the entry no
// longer matches the Project.
int elementPosition(const QListWidgetItem* entry);

// The two windows that list elements differ here in two ways only: how tall
// the text is when there is no picture, and whether the pictures are hidden
// then (the editor covers them with the text instead).
enum class DescriptionFace { Viewer, Editor };

// The description beside an element list: Frame1 with the text and the two
// picture views, and Frame2, the notice that there is nothing to show.
class DescriptionArea : public QObject {
    Q_OBJECT

public:
    struct Notice {
        const char* name;   // objectName of Frame2's label
        QString text;
    };

    // Both panels go into `window` at the given place (twips of the window).
    DescriptionArea(QWidget* window, DescriptionFace face, int panelLeft, int panelTop,
                    const Notice& notice);

    QGroupBox* frame1() const { return Frame1; }
    QGroupBox* frame2() const { return Frame2; }
    QPlainTextEdit* textBox() const { return texto; }
    QLabel* naturalView() const { return foto_desc; }
    QLabel* stretchedView() const { return Image1; }
    QLabel* notice() const { return notice_; }

    // Shows the description of the one element selected in `listado`, or the
    // notice when nothing is selected.
    void showDescription(const QListWidget* listado);

    // Shows one element's description; its picture from `picture` when that
    // file is there, else `standIn` when there is one.
    void showElement(const Element& e, const QString& picture, const QImage& standIn = {});

    // Frame2 in place of Frame1, as a window shows before anything is selected.
    void showNotice();

Q_SIGNALS:
    // The selected element has neither text nor picture.
    void emptyElementShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect pictureRect() const;
    QRect textBelowPictureRect() const;
    QRect textOnlyRect() const;
    void arrange();
    void openLargePicture();
    void showPicture(const QString& path, bool fit);
    void showStandIn(const QImage& standIn, bool fit);
    void clearPictures();
    void prefetchNeighbours(const QListWidget* listado, int row);

    DescriptionFace face_;
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QPlainTextEdit* texto;
    QLabel* foto_desc;
    QLabel* Image1;
    QLabel* notice_;
    const QListWidget* listado_ = nullptr;
    bool pictureLayout_ = false;
    // The picture file shown; empty when there is none.
    QString picture_;
    bool fit_ = false;
    QTimer* redecode_;
};

} // namespace vitrandel
