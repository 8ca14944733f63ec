#pragma once

#include <QDialog>

class QPushButton;

namespace vitrandel {

class DriveList;
class FolderList;

// Chooses a folder to read from, leaving the working folder as it is.
class elegir_carpeta : public QDialog {
    Q_OBJECT
public:
    explicit elegir_carpeta(const QString& start, QWidget* parent = nullptr);

    // The folder accepted, absolute; empty when the user cancelled.
    static QString mostrar(const QString& start, QWidget* parent);

private:
    void Drive1_Change();

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
