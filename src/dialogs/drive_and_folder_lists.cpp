// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/drive_and_folder_lists.h"

#include <QDir>

#include "dialogs/drive_list.h"
#include "dialogs/folder_list.h"
#include "platform/volumes.h"

namespace vitrandel {

void openFolderLists(DriveList* drives, FolderList* folders, const QString& start) {
    if (start.isEmpty() || !folders->setPath(start)) {
        if (!folders->setPath(QDir::currentPath()))
            folders->setPath(platform::volumeOf(QDir::currentPath()));
    }
    drives->setDrive(platform::volumeOf(folders->path()));
}

void followDrive(DriveList* drives, FolderList* folders) {
    if (!folders->setPath(platform::currentFolderOf(drives->drive())))
        drives->setDrive(platform::volumeOf(folders->path()));
}

} // namespace vitrandel
