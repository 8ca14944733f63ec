// SPDX-License-Identifier: GPL-2.0-or-later
// Find in the index window: a chosen match is shown through the window's
// own category and list handlers.
#include <QComboBox>
#include <QListWidget>

#include "model/project.h"
#include "model/search.h"
#include "viewer/ejecucion_form.h"

namespace vitrandel {

void ejecucion_form::showFoundElement(int position) {
    const Project& p = project();
    if (position < 0 || position >= std::min<int>(p.elementCount, kMaxElements))
        return;
    const int entry = filterEntryFor(p, position);
    categorias->setCurrentIndex(entry);
    categorias_Click();
    // The entries hold names only, in listing order.
    int row = 0;
    for (int i = 0; i < position; ++i)
        if (listedUnder(p.elements[static_cast<std::size_t>(i)], entry))
            ++row;
    listado->setCurrentRow(row);
    listado->scrollToItem(listado->currentItem());
}

} // namespace vitrandel
