// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace vitrandel {

class FileList;
class FolderList;

// Edits one element's description: its text, font, text colour and picture,
// the picture chosen from the working directory or one of its immediate
// subfolders. Speaks only through the description exchange fields (descText,
// descImagePath, descFitImage, descFontName, descFontSize, descFontBold,
// descFontItalic, descTextColor): the element's values in, the edited values
// out on accept. The font button writes the font fields at once, so a font
// chosen there survives Cancel.
class editar_desc : public QDialog {
    Q_OBJECT
public:
    explicit editar_desc(QWidget* parent = nullptr);

    // The picture folder shown is watched for changes; where the system cannot
    // watch it, or with watching turned off, it is read again every half second.
    static void setFolderWatching(bool on);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void cargar_subdirectorios();
    void Combo1_Click();
    void File1_Click();
    void Check1_Click();
    void limpiar_Click();
    void actualizador_Timer();
    void cambiar_fuente_Click();
    void cambiar_color_Click();
    void aceptar_Click();

    QString typedText() const;
    void showFolder(const QString& folder);
    void watch(const QString& folder);
    void folderChanged();
    void showPreview();
    void applyFont();

    QLabel* Label5;
    QComboBox* Combo1;
    QLabel* Label4;
    FileList* File1;
    QLabel* Label3;
    QLabel* Label6;
    QLabel* Label1;
    QLabel* Picture2;
    QLabel* picture1;
    QPushButton* limpiar;
    QCheckBox* Check1;
    QPushButton* cambiar_fuente;
    QPushButton* cambiar_color;
    QLabel* Label2;
    QPlainTextEdit* Text1;
    QPushButton* aceptar;
    QPushButton* cancelar;
    QTimer* actualizador;
    FileList* File2;
    FolderList* Dir1;

    // Where the picture handed back lies, relative to the working directory
    // with "\" after a subfolder (fotos\gato.jpg); empty for none.
    QString pendingImagePath;
    // The file the preview shows, empty for none.
    QString previewFile_;
    // The file last refused for a name the listing cannot hold.
    QString refusedFile_;
    // The folder selector's entry whose folder File1 shows.
    int shownEntry_ = 0;
    // Kept as the listing's value: a system colour shown as RGB must not come
    // back as RGB when the user chose nothing.
    std::int32_t textColor_ = 0;
    QFileSystemWatcher* watcher_;
    // Gathers a burst of changes (a folder being copied in) into one reading.
    QTimer* settle_;
};

} // namespace vitrandel
