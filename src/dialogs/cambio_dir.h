#pragma once

#include <QDialog>
#include <string>

class QPushButton;

namespace vitrandel {

class DriveList;
class FolderList;

// Chooses the working directory: a folder made the process's current
// directory, or back to the default setting that records "ruta actual=.".
class cambio_dir : public QDialog {
    Q_OBJECT
public:
    explicit cambio_dir(QWidget* parent = nullptr);

    // Starts at dirDlgStart ("." for the current directory) and applies the
    // outcome itself, to useCurrentDir and to the current directory.
    static void mostrar(QWidget* parent);

private:
    void Form_Load();
    void Drive1_Change();
    void aceptar_Click();
    void dejar_Click();
    void noteChange(const std::string& before);

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* aceptar;
    QPushButton* cancelar;
    QPushButton* dejar;
};

} // namespace vitrandel
