// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMainWindow>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace vitrandel {

class DescriptionArea;
class EditHistory;
class FindCommand;
struct ProjectChange;
namespace platform {
class RecoveryKeeper;
struct RecoveryContents;
} // namespace platform

// The editor: title, category filter, element list, description and the
// project commands behind its menus.
class principal : public QMainWindow {
    Q_OBJECT
public:
    explicit principal(QWidget* parent = nullptr);
    ~principal() override;

    QLabel* Label2;
    QLineEdit* titulo_txt;
    QComboBox* categorias;
    QPushButton* cat_editar;
    QListWidget* listado;
    QPushButton* agregar;
    QPushButton* eliminar;
    QPushButton* cambiar_cat;
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QPushButton* editar;
    QPushButton* editar_2;
    QLabel* Label1;

    QMenu* menu_archivo;
    QAction* archivo_nuevo;
    QAction* archivo_abrir;
    QMenu* archivo_recientes;
    QAction* archivo_guardar;
    QAction* archivo_guardar_como;
    QAction* archivo_exportar_web;
    QAction* archivo_imprimir;
    QAction* archivo_raya1;
    QAction* archivo_salir;
    QMenu* menu_edicion;
    QAction* edicion_deshacer;
    QAction* edicion_rehacer;
    QMenu* menu_proyecto;
    QAction* proyecto_ejecutar;
    QAction* proyecto_opciones;
    QAction* proyecto_raya1;
    QAction* proyecto_curdir;
    QAction* proyecto_agregar_carpeta;
    QAction* proyecto_raya2;
    QAction* proyecto_buscar;
    QAction* proyecto_biblioteca;
    QMenu* menu_ayuda;
    QAction* ayuda_acerca;

    // Window routines the commands rerun after they change the Project.
    void fillElementList();
    void fillCategoryList();
    void showDescription();
    // A match of Find, shown as if the user had picked its category and then it.
    void showFoundElement(int position);

    // Menu handlers, public so that the commands can be run as the menus run them.
    void menu_archivo_Click();
    void menu_proyecto_Click();
    void archivo_nuevo_Click();
    void archivo_abrir_Click();
    void archivo_guardar_Click();
    void archivo_guardar_como_Click();
    void archivo_exportar_web_Click();
    void archivo_imprimir_Click();
    void archivo_salir_Click();
    void proyecto_ejecutar_Click();
    void proyecto_opciones_Click();
    void proyecto_curdir_Click();
    void proyecto_agregar_carpeta_Click();
    void proyecto_buscar_Click();
    void proyecto_biblioteca_Click();
    void ayuda_acerca_Click();

    // A listing chosen other than through "Abrir...": from the recent ones,
    // dropped on the window, or a disc's folder. Asks about unsaved work first.
    void openListing(const QString& path);
    // Files and folders dropped on the element list, added as "Agregar desde
    // carpeta" adds a folder's.
    void addDroppedFiles(const QStringList& paths);

    // The files of a folder inside the working folder as elements, its
    // subfolders as categories, all as one undo step; "Agregar desde
    // carpeta..." asks for the folder first. With names picked (files
    // dropped on the list), only those entries of the folder.
    void fillFromFolder(const QString& folder, const QStringList& picked = {});

    // Every change to what Save writes goes through this history; a command
    // of its own wraps its work in an EditHistory::Step.
    EditHistory& history() { return *history_; }
    // The recovery copy of this editor's unsaved work.
    platform::RecoveryKeeper& recovery() { return *recovery_; }
    // Start-up: offers the unsaved work of editors that are no longer running.
    void offerRecovery();

    // Element commands behind the window's buttons.
    void agregar_Click();
    void editar_Click();
    void editar_2_Click();
    void eliminar_Click();
    void cambiar_cat_Click();
    void cat_editar_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void growWith(QWidget* area);
    void Form_Load();
    void categorias_Click();
    void listado_Click();
    void titulo_txt_Change();
    // The title box shows the Project's title without that being a change.
    void showTitle();
    void showHistoryChange(const ProjectChange& change);
    void keepRecoveryCopy();
    bool recover(const platform::RecoveryContents& contents);

    // Commands that would drop unsaved work ask first; false means "stop".
    bool askToSaveChanges();
    bool save();
    bool saveAs();
    void showFileDialog(const char* caption, int mode);
    void loadListing(const QString& path);
    void fillRecentMenu();
    bool roomForElements();

    void connectElementCommands();
    void connectFind();
    // Position of the element of the one selected list entry, or -1.
    int selectedElement() const;
    void editDescription();
    void openDescriptionEditor();

    EditHistory* history_ = nullptr;
    platform::RecoveryKeeper* recovery_ = nullptr;
    bool showingTitle_ = false;
    DescriptionArea* descripcion_ = nullptr;
    FindCommand* find_ = nullptr;
    // Run has already asked about unsaved work; closing must not ask again.
    bool closingConfirmed_ = false;
};

} // namespace vitrandel
