// SPDX-License-Identifier: GPL-2.0-or-later
// A listing, or a disc's folder, dropped on the index window opens there.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>

#include "discs/open_listing.h"
#include "platform/dropped_files.h"
#include "platform/message_box.h"
#include "startup/inicial.h"
#include "viewer/ejecucion_form.h"

namespace vitrandel {

void ejecucion_form::openListing(const QString& path) {
    if (discs::cargar_listado(path))
        startup::enterListingFolder(path);
    Form_Load();
}

void ejecucion_form::dragEnterEvent(QDragEnterEvent* event) {
    if (!platform::droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ejecucion_form::dropEvent(QDropEvent* event) {
    const QStringList paths = platform::droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    const QString listing = platform::droppedListing(paths);
    if (!listing.isEmpty())
        openListing(listing);
    else
        platform::msgBox(QStringLiteral("«%1» no es un listado ni la carpeta de un disco que lo tenga.")
                             .arg(QDir::toNativeSeparators(paths.front())),
                         platform::vbExclamation);
}

} // namespace vitrandel
