// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewer/description_view.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

#include "model/project.h"
#include "pictures/picture_views.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/file_helpers.h"
#include "platform/fonts.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "viewer/large_picture.h"

namespace vitrandel {
namespace {

using platform::twipsRect;

constexpr int kPanelWidth = 2295;
constexpr int kPanelHeight = 4095;

// Long enough to skip the sizes a window passes through while it is dragged larger.
constexpr int kRedecodeDelay = 150;

// Design places in the panel. The editor's text stops above its Edit button;
// the viewer has none.
QRect designTextOnly(DescriptionFace face) {
    return twipsRect(120, 240, 2055, face == DescriptionFace::Editor ? 3255 : 3735);
}
QRect designTextBelowPicture() {
    return twipsRect(120, 1920, 2055, 1575);
}
QRect designPicture() {
    return twipsRect(120, 240, 2055, 1575);
}

// What a panel grown beyond its design leaves below a rectangle, as designed.
int roomBelow(const QRect& r) {
    return twipsRect(0, 0, kPanelWidth, kPanelHeight).height() - r.y() - r.height();
}

constexpr int kElementPositionRole = Qt::UserRole;

// The viewer lists names only and shows the first element of the selected
// name in any letter case; the editor's entries name their own element.
const Element* findElement(const QListWidgetItem* entry) {
    const Project& p = project();
    if (entry->data(kElementPositionRole).isValid()) {
        const int at = elementPosition(entry);
        return at < 0 ? nullptr : &p.elements[static_cast<std::size_t>(at)];
    }
    const QString wanted = entry->text().toLower();
    const int count = std::min<int>(p.elementCount, kMaxElements);
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        if (platform::qs(e.name).toLower() == wanted)
            return &e;
    }
    return nullptr;
}

QString displayedText(const std::string& description) {
    if (description.empty())
        return QStringLiteral("[Sin Descripción]");
    QString text = platform::qs(description);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

void addElementEntry(QListWidget* list, const std::string& name, int position) {
    auto* entry = new QListWidgetItem(platform::qs(name), list);
    entry->setData(kElementPositionRole, position);
}

int elementPosition(const QListWidgetItem* entry) {
    bool ok = false;
    const int at = entry->data(kElementPositionRole).toInt(&ok);
    const Project& p = project();
    if (!ok || at < 0 || at >= std::min<int>(p.elementCount, kMaxElements))
        return -1;
    if (platform::qs(p.elements[static_cast<std::size_t>(at)].name) != entry->text())
        return -1;
    return at;
}

DescriptionArea::DescriptionArea(QWidget* window, DescriptionFace face, int panelLeft,
                                 int panelTop, const Notice& notice)
    : QObject(window), face_(face) {
    using platform::place;
    const QRect panel = twipsRect(panelLeft, panelTop, kPanelWidth, kPanelHeight);

    Frame1 = place(new QGroupBox(QStringLiteral("Descripción"), window), "Frame1", panel);
    // Created before the text box so that the text lies above them: in the
    // editor the full-height text covers an old picture instead of hiding it.
    foto_desc = place(new QLabel(Frame1), "foto_desc", designPicture());
    foto_desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = place(new QLabel(Frame1), "Image1", designPicture());
    Image1->setScaledContents(true);
    // A double click, or Enter once Tab has reached it, opens the picture large.
    for (QLabel* view : {foto_desc, Image1}) {
        view->setAccessibleName(QStringLiteral("Imagen"));
        view->setFocusPolicy(Qt::StrongFocus);
        view->installEventFilter(this);
    }

    texto = place(new QPlainTextEdit(Frame1), "texto", designTextOnly(face));
    texto->setReadOnly(true);
    texto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Reached with Tab too, so that a long text can be read and a selection
    // copied from the keyboard, and a screen reader reads it.
    texto->setFocusPolicy(Qt::StrongFocus);
    texto->setAccessibleName(QStringLiteral("Descripción"));
    texto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    Frame2 = place(new QGroupBox(QStringLiteral("Descripción"), window), "Frame2", panel);
    notice_ = place(new QLabel(notice.text, Frame2), notice.name, twipsRect(120, 1800, 2055, 255));
    notice_->setAlignment(Qt::AlignCenter);

    platform::usePaper(Frame1);
    platform::usePaper(Frame2);
    Frame1->installEventFilter(this);
    Frame2->installEventFilter(this);
    // A picture is decoded again for its new size once the panel stops growing.
    redecode_ = new QTimer(this);
    redecode_->setSingleShot(true);
    redecode_->setInterval(kRedecodeDelay);
    connect(redecode_, &QTimer::timeout, this, [this] {
        if (!picture_.isEmpty())
            showPicture(picture_, fit_);
    });

    showNotice();
}

// The panels are designed at one size and may be given more: the text and the
// picture take it, the picture keeping its proportions and sharing the height
// with the text below it.
QRect DescriptionArea::pictureRect() const {
    const QRect design = designPicture();
    const QSize panel = Frame1->size();
    const QRect stack = designPicture().united(designTextBelowPicture());
    const double across = double(panel.width() - 2 * design.x()) / design.width();
    const double down = double(panel.height() - stack.y() - roomBelow(stack)) / stack.height();
    const double scale = std::max(1.0, std::min(across, down));
    return QRect(design.topLeft(), (QSizeF(design.size()) * scale).toSize());
}

QRect DescriptionArea::textBelowPictureRect() const {
    const QRect design = designTextBelowPicture();
    const int gap = design.y() - designPicture().bottom();
    const int top = pictureRect().bottom() + gap;
    return QRect(design.x(), top, Frame1->width() - 2 * design.x(),
                 std::max(design.height(), Frame1->height() - top - roomBelow(design)));
}

QRect DescriptionArea::textOnlyRect() const {
    const QRect design = designTextOnly(face_);
    return QRect(design.x(), design.y(), Frame1->width() - 2 * design.x(),
                 Frame1->height() - design.y() - roomBelow(design));
}

bool DescriptionArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == foto_desc || watched == Image1) {
        const bool enter = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || event->type() == QEvent::MouseButtonDblClick) {
            openLargePicture();
            return true;
        }
        // A picture has no caret or selection: a frame shows that Tab reached it.
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            static_cast<QLabel*>(watched)->setFrameStyle(
                event->type() == QEvent::FocusIn ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        return false;
    }
    if (event->type() == QEvent::Resize && watched == Frame1)
        arrange();
    // On a screen of another pixel ratio the picture is decoded again for it.
    if (event->type() == QEvent::ScreenChangeInternal && watched == Frame1 && !picture_.isEmpty())
        redecode_->start();
    if (event->type() == QEvent::Resize && watched == Frame2) {
        const QRect design = twipsRect(120, 1800, 2055, 255);
        notice_->setGeometry(
            design.x(),
            design.y() +
                (Frame2->height() - twipsRect(0, 0, kPanelWidth, kPanelHeight).height()) / 2,
            Frame2->width() - 2 * design.x(), design.height());
    }
    return false;
}

void DescriptionArea::arrange() {
    foto_desc->setGeometry(pictureRect());
    Image1->setGeometry(pictureRect());
    texto->setGeometry(pictureLayout_ ? textBelowPictureRect() : textOnlyRect());
    if (!picture_.isEmpty())
        redecode_->start();
}

// The pictures of the elements the list shows, from the one shown here.
void DescriptionArea::openLargePicture() {
    if (!listado_ || picture_.isEmpty())
        return;
    std::vector<LargePicture::Entry> entries;
    int at = 0;
    for (int row = 0; row < listado_->count(); ++row) {
        const QListWidgetItem* entry = listado_->item(row);
        const Element* e = findElement(entry);
        if (!e || e->imagePath.empty())
            continue;
        const QString path = platform::picturePath(platform::qs(e->imagePath));
        if (!platform::existe_archivo(path))
            continue;
        if (entry->isSelected())
            at = int(entries.size());
        entries.push_back({platform::qs(e->name), path});
    }
    if (entries.empty())
        return;
    auto* large = new LargePicture(Frame1->window(), std::move(entries), at);
    large->show();
    large->activateWindow();
}

void DescriptionArea::showNotice() {
    Frame1->hide();
    Frame2->show();
}

void DescriptionArea::showDescription(const QListWidget* listado) {
    listado_ = listado;
    const QList<QListWidgetItem*> selected = listado->selectedItems();
    if (selected.size() != 1) {
        showNotice();
        return;
    }
    const Element* found = findElement(selected.first());
    if (!found)
        return;
    showElement(*found, found->imagePath.empty() ? QString()
                                                 : platform::picturePath(platform::qs(found->imagePath)));
    prefetchNeighbours(listado, listado->row(selected.first()));
}

void DescriptionArea::showElement(const Element& e, const QString& picture, const QImage& standIn) {
    if (e.description.empty() && e.imagePath.empty()) {
        showNotice();
        Q_EMIT emptyElementShown();
        return;
    }
    Frame2->hide();
    Frame1->show();

    if (e.imagePath.empty()) {
        if (face_ == DescriptionFace::Viewer) {
            foto_desc->hide();
            Image1->hide();
        }
        pictureLayout_ = false;
        picture_.clear();
        texto->setGeometry(textOnlyRect());
    } else {
        texto->setGeometry(textBelowPictureRect());
        foto_desc->setGeometry(pictureRect());
        pictureLayout_ = true;
        picture_.clear();
        if (platform::existe_archivo(picture))
            showPicture(picture, isTrue(e.fitImage));
        else if (!standIn.isNull())
            showStandIn(standIn, isTrue(e.fitImage));
        else
            clearPictures();
    }

    texto->setFont(platform::elementFont(texto->font(), e));

    platform::applyTextColor(texto, e.textColor);
    texto->setPlainText(displayedText(e.description));
}

// A small copy stands in for a picture that is not at hand: stretched like
// the picture, or whole inside the natural view, which it would otherwise
// show only a corner of.
void DescriptionArea::showStandIn(const QImage& standIn, bool fit) {
    QLabel* view = fit ? Image1 : foto_desc;
    const QImage shown = fit ? standIn : standIn.scaled(foto_desc->size().boundedTo(standIn.size()),
                                                        Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // No picture asked for earlier replaces the stand-in.
    pictures::clearPictureView(foto_desc);
    pictures::clearPictureView(Image1);
    view->setPixmap(QPixmap::fromImage(shown));
    foto_desc->setVisible(!fit);
    Image1->setVisible(fit);
}

void DescriptionArea::showPicture(const QString& path, bool fit) {
    picture_ = path;
    fit_ = fit;
    // Only the visible view is filled: a picture from a camera is decoded at
    // 137 by 105, not at full size.
    pictures::showPictureIn(fit ? Image1 : foto_desc, path, fit);
    pictures::clearPictureView(fit ? foto_desc : Image1);
    foto_desc->setVisible(!fit);
    Image1->setVisible(fit);
}

// A missing picture leaves an empty area rather than the previous element's picture.
void DescriptionArea::clearPictures() {
    pictures::clearPictureView(foto_desc);
    pictures::clearPictureView(Image1);
}

// Arrowing through a list shows the neighbours next: their pictures are
// drawn while the user looks at this one.
void DescriptionArea::prefetchNeighbours(const QListWidget* listado, int row) {
    for (const int near : {row + 1, row - 1}) {
        const QListWidgetItem* entry = listado->item(near);
        const Element* e = entry ? findElement(entry) : nullptr;
        if (!e || e->imagePath.empty())
            continue;
        const bool fit = isTrue(e->fitImage);
        const QString path = platform::picturePath(platform::qs(e->imagePath));
        pictures::prefetchFor(fit ? Image1 : foto_desc, path, fit);
    }
}

} // namespace vitrandel
