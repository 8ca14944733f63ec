// SPDX-License-Identifier: GPL-2.0-or-later
// The element commands of the editor window: the six buttons that change
// elements and categories.
#include <QListWidget>
#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "dialogs/cambiar_categoria_form.h"
#include "dialogs/editar_categorias.h"
#include "dialogs/password_gate.h"
#include "dialogs/preguntar_nombre.h"
#include "editor/edit_history.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "viewer/description_view.h"

namespace vitrandel {

using platform::qs;

namespace {

const char* const kDuplicateName = "El elemento ya se encuentra";
const char* const kTableFull =
    "Un listado admite como máximo 256 elementos. Elimine alguno antes de agregar otro.";

bool nameInUse(const std::string& name) {
    const QString wanted = qs(name).toLower();
    const Project& p = project();
    for (int i = 0; i < p.elementCount; ++i)
        if (qs(p.elements[static_cast<std::size_t>(i)].name).toLower() == wanted)
            return true;
    return false;
}

int topVisibleRow(const QListWidget* list) {
    return list->indexAt(QPoint(0, 0)).row();
}

} // namespace

void principal::connectElementCommands() {
    connect(agregar, &QPushButton::clicked, this, &principal::agregar_Click);
    connect(editar, &QPushButton::clicked, this, &principal::editar_Click);
    connect(editar_2, &QPushButton::clicked, this, &principal::editar_2_Click);
    connect(eliminar, &QPushButton::clicked, this, &principal::eliminar_Click);
    connect(cambiar_cat, &QPushButton::clicked, this, &principal::cambiar_cat_Click);
    connect(cat_editar, &QPushButton::clicked, this, &principal::cat_editar_Click);
}

int principal::selectedElement() const {
    const QList<QListWidgetItem*> selected = listado->selectedItems();
    return selected.size() == 1 ? elementPosition(selected.first()) : -1;
}

void principal::agregar_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("agregar elemento"));
    if (!password_gate(this))
        return;
    Project& p = project();
    if (p.elementCount >= kMaxElements) {
        platform::msgBox(QString::fromUtf8(kTableFull), platform::vbExclamation);
        return;
    }
    preguntar_nombre::mostrar(this);
    const ExchangeFields& x = exchange();
    if (x.nameDlgName.empty())
        return;
    if (nameInUse(x.nameDlgName)) {
        platform::msgBox(QString::fromUtf8(kDuplicateName), platform::vbCritical);
        return;
    }
    p.elements[static_cast<std::size_t>(p.elementCount)] =
        newElement(x.nameDlgName, x.nameDlgCategory);
    ++p.elementCount;
    // An element with no description yet is still work that closing must not lose.
    p.modified = kTrue;
    fillElementList();
}

void principal::editar_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("edición de descripción"));
    if (password_gate(this))
        editDescription();
}

// Frame2's button edits the description of an element that has none; it asks
// for no password.
void principal::editar_2_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("edición de descripción"));
    editDescription();
}

void principal::editDescription() {
    const int at = selectedElement();
    if (at < 0)
        return;
    Element& e = project().elements[static_cast<std::size_t>(at)];
    const Element before = e;
    putDescription(e, exchange());
    openDescriptionEditor();
    takeDescription(exchange(), e);
    // A font chosen survives Cancel, and must not escape the question about unsaved work.
    if (e != before)
        project().modified = kTrue;
    listado_Click();
}

void principal::eliminar_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("eliminar elemento"));
    if (!password_gate(this))
        return;
    const int at = selectedElement();
    if (at < 0)
        return;
    Project& p = project();
    auto first = p.elements.begin();
    std::copy(first + at + 1, first + p.elementCount, first + at);
    --p.elementCount;
    p.modified = kTrue;

    const int top = topVisibleRow(listado) - 1;
    fillElementList();
    if (listado->count() > 0)
        listado->scrollToItem(listado->item(std::clamp(top, 0, listado->count() - 1)),
                              QAbstractItemView::PositionAtTop);
    descripcion_->showNotice();
}

void principal::cambiar_cat_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("cambio de categoría"));
    if (!password_gate(this))
        return;
    const int at = selectedElement();
    if (at < 0)
        return;
    Element& e = project().elements[static_cast<std::size_t>(at)];
    ExchangeFields& x = exchange();
    x.catDlgCategory = e.category;
    cambiar_categoria_form::mostrar(this);
    // The list keeps showing the element where it was until it is next rebuilt.
    if (x.catDlgCategory >= 0 && x.catDlgCategory != e.category) {
        e.category = x.catDlgCategory;
        project().modified = kTrue;
    }
}

void principal::cat_editar_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("edición de categorías"));
    if (!password_gate(this))
        return;
    const int shown = categorias->currentIndex();
    const std::vector<std::int16_t> numbers = editar_categorias::mostrar(this);
    // The filter follows its category to its new number, and falls back to
    // "Mostrar todos" when its category is gone.
    if (shown > 0 && static_cast<std::size_t>(shown) < numbers.size()) {
        const QSignalBlocker quiet(categorias);
        categorias->setCurrentIndex(numbers[static_cast<std::size_t>(shown)]);
    }
    fillCategoryList();
}

} // namespace vitrandel
