// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The drive list and the folder list below it move together in every dialog
// that has them.
namespace vitrandel {

class DriveList;
class FolderList;

// Opens the lists at `start`; a start that is empty or has gone away opens at
// the current directory, or at its volume's root when that is gone too.
void openFolderLists(DriveList* drives, FolderList* folders, const QString& start);

// A drive picked opens at the folder last entered on it; one that cannot be
// read puts the drive list back on the folder's volume.
void followDrive(DriveList* drives, FolderList* folders);

} // namespace vitrandel
