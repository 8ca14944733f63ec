// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include "dialogs/drive_and_folder_lists.h"

class QPushButton;

namespace vitrandel {

// What the working-directory chooser and the folder chooser share: a drive
// list above a folder list that follows it, and Aceptar and Cancelar beside.
// Aceptar is left to each; Cancelar rejects.
class FolderChooser : public QDialog {
    Q_OBJECT
protected:
    FolderChooser(const char* objectName, const QString& caption, QWidget* parent);

    void openAt(const QString& start) { openFolderLists(Drive1, Dir1, start); }
    void Drive1_Change() { followDrive(Drive1, Dir1); }

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
