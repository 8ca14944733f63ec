#include "dialogs/elegir_carpeta.h"

#include <QDir>
#include <QPushButton>

#include "dialogs/drive_list.h"
#include "dialogs/folder_list.h"
#include "platform/controls.h"
#include "platform/modal.h"
#include "platform/twips.h"
#include "platform/volumes.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

elegir_carpeta::elegir_carpeta(const QString& caption, const QString& start, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("elegir_carpeta"));
    setWindowTitle(caption);
    setFixedSize(twips(4365), twips(3165));
    Drive1 = place(new DriveList(this), "Drive1", twipsRect(240, 120, 2295, 315));
    Dir1 = place(new FolderList(this), "Dir1", twipsRect(240, 600, 2295, 2340));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(2760, 240, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(2760, 720, 1455, 375));
    aceptar->setDefault(true);

    connect(Drive1, &DriveList::driveChanged, this, &elegir_carpeta::Drive1_Change);
    connect(aceptar, &QPushButton::clicked, this, &elegir_carpeta::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &elegir_carpeta::reject);

    // A start that has gone away opens at the current directory, or its volume's root.
    if (!Dir1->setPath(start) && !Dir1->setPath(QDir::currentPath()))
        Dir1->setPath(platform::volumeOf(QDir::currentPath()));
    Drive1->setDrive(platform::volumeOf(Dir1->path()));
}

QString elegir_carpeta::elegir(QWidget* parent, const QString& caption, const QString& start) {
    elegir_carpeta dialog(caption, start, parent);
    return platform::execModal(dialog) == QDialog::Accepted ? dialog.chosen() : QString();
}

void elegir_carpeta::Drive1_Change() {
    if (!Dir1->setPath(platform::currentFolderOf(Drive1->drive())))
        Drive1->setDrive(platform::volumeOf(Dir1->path()));
}

void elegir_carpeta::aceptar_Click() {
    chosen_ = Dir1->path();
    accept();
}

} // namespace vitrandel
