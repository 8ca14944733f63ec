#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace vitrandel {

class DriveList;
class FolderList;

// Chooses a folder to write into, with the same drive and folder lists as the
// working-directory chooser but without changing the working directory.
class elegir_carpeta : public QDialog {
    Q_OBJECT
public:
    elegir_carpeta(const QString& caption, const QString& start, QWidget* parent = nullptr);

    // The folder open in the list when Aceptar was pressed; empty when the
    // user cancelled.
    static QString elegir(QWidget* parent, const QString& caption, const QString& start);

    QString chosen() const { return chosen_; }

private:
    void Drive1_Change();
    void aceptar_Click();

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* aceptar;
    QPushButton* cancelar;
    QString chosen_;
};

} // namespace vitrandel
