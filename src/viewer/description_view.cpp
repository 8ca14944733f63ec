#include "viewer/description_view.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "model/project.h"
#include "pictures/picture_views.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/file_helpers.h"
#include "platform/fonts.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {
namespace {

using platform::twipsRect;

constexpr int kPanelWidth = 2295;
constexpr int kPanelHeight = 4095;

// The editor's text stops above its Edit button; the viewer has none.
int textOnlyHeight(DescriptionFace face) { return face == DescriptionFace::Editor ? 3255 : 3735; }

QRect textOnlyRect(DescriptionFace face) { return twipsRect(120, 240, 2055, textOnlyHeight(face)); }
QRect textBelowPictureRect() { return twipsRect(120, 1920, 2055, 1575); }
QRect pictureRect() { return twipsRect(120, 240, 2055, 1575); }

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
    foto_desc = place(new QLabel(Frame1), "foto_desc", pictureRect());
    foto_desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = place(new QLabel(Frame1), "Image1", pictureRect());
    Image1->setScaledContents(true);

    texto = place(new QPlainTextEdit(Frame1), "texto", textOnlyRect(face));
    texto->setReadOnly(true);
    texto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Out of the tab order, but a click gives it focus so that a selection can
    // be copied with the keyboard.
    texto->setFocusPolicy(Qt::ClickFocus);
    texto->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    Frame2 = place(new QGroupBox(QStringLiteral("Descripción"), window), "Frame2", panel);
    notice_ = place(new QLabel(notice.text, Frame2), notice.name, twipsRect(120, 1800, 2055, 255));
    notice_->setAlignment(Qt::AlignCenter);

    showNotice();
}

void DescriptionArea::showNotice() {
    Frame1->hide();
    Frame2->show();
}

void DescriptionArea::showDescription(const QListWidget* listado) {
    const QList<QListWidgetItem*> selected = listado->selectedItems();
    if (selected.size() != 1) {
        showNotice();
        return;
    }
    const Element* found = findElement(selected.first());
    if (!found)
        return;
    const Element& e = *found;

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
        texto->setGeometry(textOnlyRect(face_));
    } else {
        texto->setGeometry(textBelowPictureRect());
        foto_desc->setGeometry(pictureRect());
        const QString path = platform::picturePath(platform::qs(e.imagePath));
        if (platform::existe_archivo(path))
            showPicture(path, isTrue(e.fitImage));
        else
            clearPictures();
    }

    texto->setFont(platform::elementFont(texto->font(), e));

    platform::applyTextColor(texto, e.textColor);
    texto->setPlainText(displayedText(e.description));
    prefetchNeighbours(listado, listado->row(selected.first()));
}

void DescriptionArea::showPicture(const QString& path, bool fit) {
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
