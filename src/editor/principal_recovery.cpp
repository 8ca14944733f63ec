// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's undo history meets the window here, and its unsaved work is
// kept in a recovery copy that a later start offers back.
#include <QDir>
#include <QFileInfo>
#include <QListWidget>

#include "editor/edit_history.h"
#include "editor/principal.h"
#include "model/listing_reader.h"
#include "model/project.h"
#include "platform/listing_io.h"
#include "platform/message_box.h"
#include "platform/recovery.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "viewer/description_view.h"

namespace vitrandel {

using platform::qs;

namespace {

QString titleOf(const platform::RecoveryContents& c) {
    const ParseOutcome parsed = parseListing(c.listing, Project{});
    if (!parsed.listing.project.title.empty())
        return qs(parsed.listing.project.title);
    if (!c.listingPath.isEmpty())
        return QFileInfo(c.listingPath).fileName();
    return QString::fromUtf8(kUntitledListing);
}

QString question(const platform::RecoveryContents& c) {
    return QStringLiteral("Se encontraron cambios sin guardar de \"%1\" (%2). ¿Desea recuperarlos?")
        .arg(titleOf(c), c.changedAt.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

} // namespace

void principal::keepRecoveryCopy() {
    if (isTrue(project().modified))
        recovery_->changed();
    else
        recovery_->discard();
}

void principal::showHistoryChange(const ProjectChange& change) {
    showTitle();
    const bool elementsMoved = !change.before.run.empty() || !change.after.run.empty() ||
                               change.before.elementCount != change.after.elementCount;
    const bool categoriesMoved =
        change.before.settings &&
        (change.before.settings->categories != change.after.settings->categories ||
         change.before.settings->categoryCount != change.after.settings->categoryCount);
    if (!elementsMoved && !categoriesMoved)
        return; // the selection stays where the author left it
    fillCategoryList();
    // The element the step touched, where the list shows it.
    for (int row = 0; row < listado->count(); ++row)
        if (elementPosition(listado->item(row)) == change.first) {
            listado->setCurrentRow(row);
            break;
        }
    listado_Click();
}

void principal::offerRecovery() {
    for (platform::AbandonedCopy& copy : platform::claimAbandonedCopies()) {
        if (platform::msgBox(question(copy.contents()),
                             platform::vbYesNo + platform::vbQuestion + platform::vbDefaultYes) ==
            platform::vbYes) {
            if (!recover(copy.contents())) {
                copy.setAside();
                continue;
            }
            // Only once this editor's own copy holds the work.
            recovery_->flush();
            copy.remove();
            return; // any others wait for the next start
        }
        copy.setAside();
        platform::msgBox(QStringLiteral("Los cambios se guardan aparte durante una semana en %1.")
                             .arg(QDir::toNativeSeparators(platform::setAsideFolder())),
                         platform::vbOKOnly);
    }
}

bool principal::recover(const platform::RecoveryContents& c) {
    // Pictures are named relative to the folder that editor worked in.
    if (!c.workingFolder.isEmpty())
        platform::changeCurrentFolder(c.workingFolder);
    const QString shownPath =
        c.listingPath.isEmpty() ? QString::fromUtf8(kUntitledListing) : c.listingPath;
    if (!platform::loadListing(c.listing, shownPath))
        return false;
    exchange().fileDlgResult = platform::ss(c.listingPath);
    project().listingPath = exchange().fileDlgResult;
    showTitle();
    fillCategoryList();
    descripcion_->showNotice();
    history_->restartUnsaved();
    return true;
}

} // namespace vitrandel
