// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/biblioteca_form.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <cstdio>

#include "discs/disc_library.h"
#include "discs/open_listing.h"
#include "library/disc_library.h"
#include "library/search_query.h"
#include "model/listing_reader.h"
#include "platform/controls.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "startup/inicial.h"
#include "viewer/description_view.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::ss;
using platform::twips;
using platform::twipsRect;

namespace {

// More than a person reads through; a longer list only slows typing down.
constexpr int kShownResults = 500;

QPointer<biblioteca_form>& theWindow() {
    static QPointer<biblioteca_form> window;
    return window;
}

bool discPresent(const library::StoredListing& disc) { return platform::existe_archivo(qs(disc.path)); }

// The copy the library keeps, in place of a listing whose disc is away. Its
// working folder is not entered: it is on that disc.
bool loadStoredCopy(const library::StoredListing& disc) {
    ParseOutcome outcome = parseListing(disc.bytes, Project{});
    if (outcome.error)
        return false;
    normaliseElements(outcome.listing.project);
    outcome.listing.project.listingPath.clear();
    project() = std::move(outcome.listing.project);
    return true;
}

} // namespace

biblioteca_form* biblioteca_form::mostrar(QWidget* owner, LeaveOwner leaveOwner) {
    QPointer<biblioteca_form>& window = theWindow();
    if (!window) {
        window = new biblioteca_form;
        if (!window->library_) {
            delete window;
            return nullptr;
        }
    }
    window->owner_ = owner;
    window->leaveOwner_ = std::move(leaveOwner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// Not a child of the window that opened it: "Abrir" closes that one.
biblioteca_form::biblioteca_form() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("biblioteca_form"));
    setWindowTitle(QStringLiteral("Biblioteca de discos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twips(8955), twips(4755));

    Label1 = place(new QLabel(QStringLiteral("Buscar :"), this), "Label1", twipsRect(240, 240, 855, 255));
    buscar_txt = place(new QLineEdit(this), "buscar_txt", twipsRect(1140, 200, 5280, 285));
    resultados = place(new QTreeWidget(this), "resultados", twipsRect(120, 600, 6300, 3255));
    resultados->setHeaderLabels({QStringLiteral("Elemento"), QStringLiteral("Categoría"),
                                 QStringLiteral("Disco")});
    resultados->setRootIsDecorated(false);
    resultados->setUniformRowHeights(true);
    resultados->setSelectionMode(QAbstractItemView::SingleSelection);
    resultados->header()->setStretchLastSection(true);
    resultados->setColumnWidth(0, twips(2520));
    resultados->setColumnWidth(1, twips(1560));
    disco_info = place(new QLabel(this), "disco_info", twipsRect(120, 3915, 6300, 255));
    abrir = place(new QPushButton(QStringLiteral("&Abrir"), this), "abrir", twipsRect(120, 4260, 1455, 375));
    quitar = place(new QPushButton(QStringLiteral("&Quitar de la biblioteca"), this), "quitar",
                   twipsRect(1680, 4260, 2295, 375));
    description_ = new DescriptionArea(this, DescriptionFace::Viewer, 6540, 240,
                                       {"Label3", QStringLiteral("No hay descripción")});

    connect(buscar_txt, &QLineEdit::textChanged, this, &biblioteca_form::buscar_txt_Change);
    connect(resultados, &QTreeWidget::itemSelectionChanged, this, &biblioteca_form::resultados_Click);
    connect(resultados, &QTreeWidget::itemActivated, this, &biblioteca_form::abrir_Click);
    connect(abrir, &QPushButton::clicked, this, &biblioteca_form::abrir_Click);
    connect(quitar, &QPushButton::clicked, this, &biblioteca_form::quitar_Click);

    platform::centerOnScreen(this);
    Form_Load();
}

biblioteca_form::~biblioteca_form() = default;

void biblioteca_form::Form_Load() {
    // What opening a listing a moment ago handed over is there to be found.
    discs::waitForLibrary();
    library_ = discs::openLibrary();
    if (library_)
        buscar_txt_Change();
}

void biblioteca_form::buscar_txt_Change() {
    const std::string text = ss(buscar_txt->text());
    try {
        const auto terms = library::splitSearchText(text);
        found_ = terms.empty() ? library_->latest(kShownResults) : library_->search(terms, kShownResults);
    } catch (const library::LibraryError& e) {
        std::fprintf(stderr, "vitrandel: library: %s\n", e.what());
        found_.clear();
    }
    const QSignalBlocker quiet(resultados);
    resultados->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(found_.size()));
    for (const library::FoundElement& f : found_)
        rows.append(new QTreeWidgetItem({qs(f.element), qs(f.category), qs(f.discTitle)}));
    resultados->addTopLevelItems(rows);
    resultados_Click();
}

const library::FoundElement* biblioteca_form::selectedElement() const {
    const QList<QTreeWidgetItem*> selected = resultados->selectedItems();
    if (selected.size() != 1)
        return nullptr;
    const int row = resultados->indexOfTopLevelItem(selected.first());
    return row >= 0 && row < static_cast<int>(found_.size()) ? &found_[static_cast<std::size_t>(row)] : nullptr;
}

bool biblioteca_form::loadDisc(std::int64_t discId) {
    if (discId == discId_)
        return true;
    discId_ = 0;
    try {
        const auto stored = library_->stored(discId);
        if (!stored)
            return false;
        ParseOutcome outcome = parseListing(stored->bytes, Project{});
        if (outcome.error)
            return false;
        normaliseElements(outcome.listing.project);
        disc_ = *stored;
        discListing_ = std::move(outcome.listing.project);
    } catch (const library::LibraryError& e) {
        std::fprintf(stderr, "vitrandel: library: %s\n", e.what());
        return false;
    }
    discId_ = discId;
    return true;
}

void biblioteca_form::resultados_Click() {
    const library::FoundElement* f = selectedElement();
    abrir->setEnabled(f != nullptr);
    quitar->setEnabled(f != nullptr);
    if (!f || !loadDisc(f->discId) || f->position >= std::min<int>(discListing_.elementCount, kMaxElements)) {
        disco_info->clear();
        description_->showNotice();
        return;
    }
    const bool present = discPresent(disc_);
    QString where = qs(disc_.path);
    if (!disc_.volumeLabel.empty())
        where += QStringLiteral(" (%1)").arg(qs(disc_.volumeLabel));
    disco_info->setText(present ? where : QStringLiteral("No está en la unidad: %1").arg(where));
    disco_info->setToolTip(disco_info->text());

    const Element& e = discListing_.elements[static_cast<std::size_t>(f->position)];
    QImage thumbnail;
    QString picture;
    if (!e.imagePath.empty()) {
        picture = discs::storedPicturePath(disc_.workingDir, e.imagePath);
        if (picture.isEmpty()) {
            try {
                if (const auto png = library_->thumbnail(discId_, e.imagePath))
                    thumbnail.loadFromData(reinterpret_cast<const uchar*>(png->data()),
                                           static_cast<int>(png->size()));
            } catch (const library::LibraryError& err) {
                std::fprintf(stderr, "vitrandel: library: %s\n", err.what());
            }
        }
    }
    description_->showElement(e, picture, thumbnail);
}

void biblioteca_form::abrir_Click() {
    const library::FoundElement* f = selectedElement();
    if (!f || !loadDisc(f->discId))
        return;
    if (leaveOwner_ && !leaveOwner_())
        return;
    const library::StoredListing disc = disc_;
    const bool present = discPresent(disc);
    if (present) {
        project().useCurrentDir = kTrue;
        if (discs::cargar_listado(qs(disc.path)))
            startup::enterListingFolder(qs(disc.path));
    } else {
        loadStoredCopy(disc);
    }
    QWidget* viewer = startup::showViewer();
    if (!present)
        viewer->setWindowTitle(viewer->windowTitle() +
                               QStringLiteral(" (copia de la biblioteca: el disco no está en la unidad)"));
    if (owner_ && owner_ != viewer)
        owner_->close();
    close();
}

void biblioteca_form::quitar_Click() {
    const library::FoundElement* f = selectedElement();
    if (!f)
        return;
    const std::int64_t discId = f->discId;
    if (platform::msgBox(QStringLiteral("¿Quitar «%1» de la biblioteca de discos?").arg(qs(f->discTitle)),
                         platform::vbYesNo + platform::vbQuestion) != platform::vbYes)
        return;
    try {
        library_->remove(discId);
    } catch (const library::LibraryError& e) {
        platform::msgBox(QStringLiteral("No se puede quitar el disco de la biblioteca: %1").arg(qs(e.what())),
                         platform::vbOKOnly + platform::vbExclamation);
        return;
    }
    discId_ = 0;
    buscar_txt_Change();
}

} // namespace vitrandel
