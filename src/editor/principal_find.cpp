// SPDX-License-Identifier: GPL-2.0-or-later
// Find in the editor: a chosen match is shown through the window's own
// category and list handlers. Finding changes nothing, so it asks no password.
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "dialogs/find_command.h"
#include "editor/principal.h"
#include "model/project.h"
#include "model/search.h"
#include "viewer/description_view.h"

namespace vitrandel {

void principal::connectFind() {
    find_ = new FindCommand(this, listado, [this](int position) { showFoundElement(position); });
}

void principal::proyecto_buscar_Click() { find_->open(); }

void principal::showFoundElement(int position) {
    const Project& p = project();
    if (position < 0 || position >= std::min<int>(p.elementCount, kMaxElements))
        return;
    {
        // The list is rebuilt below in any case: an element whose category
        // was changed stays listed under its old one until then.
        const QSignalBlocker quiet(categorias);
        categorias->setCurrentIndex(filterEntryFor(p, position));
    }
    categorias_Click();
    for (int row = 0; row < listado->count(); ++row) {
        if (elementPosition(listado->item(row)) == position) {
            listado->setCurrentRow(row);
            listado->scrollToItem(listado->item(row));
            return;
        }
    }
}

} // namespace vitrandel
