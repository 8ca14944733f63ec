// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/folder_chooser.h"

#include <QPushButton>

#include "dialogs/drive_list.h"
#include "dialogs/folder_list.h"
#include "platform/controls.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

FolderChooser::FolderChooser(const char* objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(caption);
    setFixedSize(twips(4365), twips(3165));
    Drive1 = place(new DriveList(this), "Drive1", twipsRect(240, 120, 2295, 315));
    Dir1 = place(new FolderList(this), "Dir1", twipsRect(240, 600, 2295, 2340));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(2760, 240, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(2760, 720, 1455, 375));
    aceptar->setDefault(true);

    connect(Drive1, &DriveList::driveChanged, this, &FolderChooser::Drive1_Change);
    connect(cancelar, &QPushButton::clicked, this, &FolderChooser::reject);
}

} // namespace vitrandel
