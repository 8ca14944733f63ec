// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vitrandel {

class DriveList;
class FileList;
class FolderList;

// The program's own dialog for choosing a listing to open or a name to save
// under. It speaks only through the file-dialog exchange fields.
class com_dlg : public QDialog {
    Q_OBJECT
public:
    explicit com_dlg(QWidget* parent = nullptr);

    // Shows the dialog for the request in fileDlgCaption, fileDlgFilters,
    // fileDlgMode and fileDlgFileName; afterwards fileDlgResult holds the
    // chosen full path, or the empty text when the user cancelled.
    static void mostrar(QWidget* parent);

    // Cancelar, Escape and the close box all end here.
    void reject() override;

private:
    void Form_Load();
    void Combo1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Text1_Change();
    void aceptar_Click();

    QLabel* Label1;
    DriveList* Drive1;
    FolderList* Dir1;
    FileList* File1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLabel* Label3;
    QComboBox* Combo1;
    QPushButton* aceptar;
    QPushButton* cancelar;
    bool followingTypedText_ = false;
};

} // namespace vitrandel
