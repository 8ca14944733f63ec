// SPDX-License-Identifier: GPL-2.0-or-later
// Listings opened other than through "Abrir...": the recent ones, and files
// and folders dropped on the window.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>

#include "dialogs/password_gate.h"
#include "discs/recent_listings.h"
#include "editor/principal.h"
#include "platform/dropped_files.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"

namespace vitrandel {

void principal::openListing(const QString& path) {
    if (askToSaveChanges())
        loadListing(path);
}

void principal::fillRecentMenu() {
    archivo_recientes->clear();
    const QStringList recent = discs::recentListings();
    for (int i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        QString caption = QDir::toNativeSeparators(path);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        // The tenth takes its access key from its last digit, as the first nine do from theirs.
        const QString number = QString::number(i + 1);
        caption = number.left(number.size() - 1) + QLatin1Char('&') + number.right(1) +
                  QLatin1Char(' ') + caption;
        const bool available = platform::existe_archivo(path);
        if (!available)
            caption += QStringLiteral(" (no disponible)");
        QAction* entry = archivo_recientes->addAction(caption);
        entry->setObjectName(QStringLiteral("archivo_reciente_%1").arg(i + 1));
        entry->setEnabled(available);
        connect(entry, &QAction::triggered, this, [this, path] { openListing(path); });
    }
    archivo_recientes->setEnabled(!recent.isEmpty());
}

void principal::dragEnterEvent(QDragEnterEvent* event) {
    if (!platform::droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void principal::dropEvent(QDropEvent* event) {
    const QStringList paths = platform::droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    if (listado->rect().contains(listado->mapFrom(this, event->position().toPoint()))) {
        addDroppedFiles(paths);
        return;
    }
    const QString listing = platform::droppedListing(paths);
    if (!listing.isEmpty())
        openListing(listing);
    else
        platform::msgBox(QStringLiteral("Suelte aquí un listado o la carpeta de un disco que lo "
                                        "tenga, o suelte los archivos sobre la lista de "
                                        "elementos para agregarlos."),
                         platform::vbExclamation);
}

void principal::addDroppedFiles(const QStringList& paths) {
    if (paths.isEmpty() || !password_gate(this) || !roomForElements())
        return;
    const QFileInfo first(paths.front());
    if (paths.size() == 1 && first.isDir()) {
        fillFromFolder(first.absoluteFilePath(), {});
        return;
    }
    // As if those entries of their folder had been the whole folder.
    const QString folder = first.absolutePath();
    QStringList names;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.absolutePath() != folder) {
            platform::msgBox(QStringLiteral("Suelte archivos de una sola carpeta a la vez."),
                             platform::vbExclamation);
            return;
        }
        names << info.fileName();
    }
    fillFromFolder(folder, names);
}

} // namespace vitrandel
