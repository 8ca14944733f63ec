#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace vitrandel {

class DriveList;
class FolderList;

// What the working-directory chooser and the folder chooser share: a drive
// list above a folder list that follows it, and Aceptar and Cancelar beside.
// Aceptar is left to each; Cancelar rejects.
class FolderChooser : public QDialog {
    Q_OBJECT
protected:
    FolderChooser(const char* objectName, const QString& caption, QWidget* parent);

    // Opens the lists at `start`; a start that is empty or has gone away opens
    // at the current directory, or at its volume's root when that is gone too.
    void openAt(const QString& start);

    void Drive1_Change();

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
