// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/cambio_dir.h"

#include <QPushButton>

#include "dialogs/folder_list.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/error_text.h"
#include "platform/file_helpers.h"
#include "platform/listing_io.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "platform/volumes.h"

namespace vitrandel {

using platform::place;
using platform::twipsRect;

cambio_dir::cambio_dir(QWidget* parent)
    : FolderChooser("cambio_dir", QStringLiteral("Seleccione un directorio..."), parent) {
    dejar = place(new QPushButton(QStringLiteral("Ruta por defecto"), this), "dejar",
                  twipsRect(2760, 1680, 1455, 375));
    connect(aceptar, &QPushButton::clicked, this, &cambio_dir::aceptar_Click);
    connect(dejar, &QPushButton::clicked, this, &cambio_dir::dejar_Click);

    Form_Load();
}

void cambio_dir::mostrar(QWidget* parent) {
    cambio_dir dialog(parent);
    platform::execModal(dialog);
}

void cambio_dir::Form_Load() {
    // "." stands for the current directory; a recorded folder that has gone
    // away leaves the list there rather than at nothing.
    const QString start = platform::qs(exchange().dirDlgStart);
    openAt(start == QLatin1String(".") ? QString() : platform::nativeRelativePath(start));
}

void cambio_dir::aceptar_Click() {
    const std::string before = platform::workingDirToRecord();
    project().useCurrentDir = kFalse;
    if (const int error = platform::changeCurrentFolder(Dir1->path())) {
        platform::msgBox(platform::errorDescription(error),
                         platform::vbOKOnly + platform::vbExclamation);
        noteChange(before);
        return;
    }
    project().unreachableWorkingDir.clear();
    noteChange(before);
    accept();
}

void cambio_dir::dejar_Click() {
    const std::string before = platform::workingDirToRecord();
    project().useCurrentDir = kTrue;
    project().unreachableWorkingDir.clear();
    noteChange(before);
    accept();
}

// The working folder is saved with the listing, so changing it is unsaved work.
void cambio_dir::noteChange(const std::string& before) {
    if (platform::workingDirToRecord() != before)
        project().modified = kTrue;
}

} // namespace vitrandel
