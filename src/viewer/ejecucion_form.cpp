// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewer/ejecucion_form.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

#include "dialogs/biblioteca_form.h"
#include "dialogs/find_command.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/growing_layout.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "viewer/description_view.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

ejecucion_form::ejecucion_form(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ejecucion_form"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    resize(twips(4845), twips(4530));

    Label1 = place(new QLabel(QStringLiteral("Categorías :"), this), "Label1", twipsRect(240, 240, 1575, 255));
    categorias = place(new QComboBox(this), "categorias", twipsRect(120, 600, 2175, 315));
    Label2 = place(new QLabel(QStringLiteral("Listado de elementos :"), this), "Label2",
                   twipsRect(240, 1200, 1695, 255));
    listado = place(new QListWidget(this), "listado", twipsRect(120, 1560, 2175, 2790));
    listado->setSelectionMode(QAbstractItemView::SingleSelection);
    // Measuring every name to lay out a full list costs more than the rest of
    // the window; a name wider than the list ends in "…".
    listado->setUniformItemSizes(true);
    description_ = new DescriptionArea(this, DescriptionFace::Viewer, 2400, 240,
                                       {"Label3", QStringLiteral("No hay descripción")});

    // Also when the user picks the entry already shown: the list is rebuilt.
    connect(categorias, &QComboBox::activated, this, &ejecucion_form::categorias_Click);
    connect(listado, &QListWidget::itemSelectionChanged, this, &ejecucion_form::listado_Click);
    find_ = new FindCommand(this, listado, [this](int position) { showFoundElement(position); });
    auto* biblioteca = new QAction(QStringLiteral("Biblioteca de discos..."), this);
    biblioteca->setObjectName(QStringLiteral("biblioteca"));
    biblioteca->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    listado->addAction(biblioteca);
    connect(biblioteca, &QAction::triggered, this, [this] { biblioteca_form::mostrar(this, {}); });

    // The list takes a third of the room the window grows by, the description the rest.
    using Share = platform::GrowingLayout::Share;
    auto* growing = new platform::GrowingLayout(this);
    growing->follow(categorias, Share{.width = 1.0 / 3});
    growing->follow(listado, Share{.width = 1.0 / 3, .height = 1});
    for (QWidget* panel : {static_cast<QWidget*>(description_->frame1()),
                           static_cast<QWidget*>(description_->frame2())})
        growing->follow(panel, Share{.left = 1.0 / 3, .width = 2.0 / 3, .height = 1});

    platform::centerOnScreen(this);
    platform::rememberPlace(this);

    Form_Load();
}

void ejecucion_form::Form_Load() {
    const Project& p = project();
    QString caption = platform::qs(shownTitle(p));
    // Qt hides a lone "[*]" in a caption (its unsaved-changes mark); doubled, it shows as typed.
    caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(caption);
    platform::fillCategoryChoices(categorias, QString::fromUtf8(kUncategorised), p);
    categorias->setCurrentIndex(0);
    categorias_Click();
}

void ejecucion_form::categorias_Click() {
    fillElementList();
    showDescription();
}

void ejecucion_form::listado_Click() { showDescription(); }

void ejecucion_form::fillElementList() {
    const QSignalBlocker quiet(listado);
    listado->clear();
    const int s = categorias->currentIndex();
    const Project& p = project();
    const int count = std::min<int>(p.elementCount, kMaxElements);
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        // "Sin clasificar" lists the whole listing, so that the index never
        // opens empty on a listing whose elements all have a category.
        if (listedUnder(e, s))
            listado->addItem(platform::qs(e.name));
    }
}

void ejecucion_form::showDescription() { description_->showDescription(listado); }

} // namespace vitrandel
