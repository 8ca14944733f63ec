#include "dialogs/cambio_dir.h"

#include <QDir>
#include <QPushButton>

#include "dialogs/drive_list.h"
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
using platform::twips;
using platform::twipsRect;

cambio_dir::cambio_dir(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cambio_dir"));
    setWindowTitle(QStringLiteral("Seleccione un directorio..."));
    setFixedSize(twips(4365), twips(3165));
    Drive1 = place(new DriveList(this), "Drive1", twipsRect(240, 120, 2295, 315));
    Dir1 = place(new FolderList(this), "Dir1", twipsRect(240, 600, 2295, 2340));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(2760, 240, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(2760, 720, 1455, 375));
    dejar = place(new QPushButton(QStringLiteral("Ruta por defecto"), this), "dejar",
                  twipsRect(2760, 1680, 1455, 375));
    aceptar->setDefault(true);

    connect(Drive1, &DriveList::driveChanged, this, &cambio_dir::Drive1_Change);
    connect(aceptar, &QPushButton::clicked, this, &cambio_dir::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &cambio_dir::reject);
    connect(dejar, &QPushButton::clicked, this, &cambio_dir::dejar_Click);

    Form_Load();
}

void cambio_dir::mostrar(QWidget* parent) {
    cambio_dir dialog(parent);
    platform::execModal(dialog);
}

void cambio_dir::Form_Load() {
    const QString start = platform::qs(exchange().dirDlgStart);
    // A recorded folder that has gone away leaves the list at the current
    // directory rather than at nothing, and a current directory that has gone
    // away leaves it at its volume's root.
    if (start == QLatin1String(".") || !Dir1->setPath(platform::nativeRelativePath(start))) {
        if (!Dir1->setPath(QDir::currentPath()))
            Dir1->setPath(platform::volumeOf(QDir::currentPath()));
    }
    Drive1->setDrive(platform::volumeOf(Dir1->path()));
}

void cambio_dir::Drive1_Change() {
    if (!Dir1->setPath(platform::currentFolderOf(Drive1->drive())))
        Drive1->setDrive(platform::volumeOf(Dir1->path()));
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
