// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/principal.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "dialogs/biblioteca_form.h"
#include "dialogs/cambio_dir.h"
#include "dialogs/com_dlg.h"
#include "dialogs/opciones_form.h"
#include "dialogs/password_gate.h"
#include "discs/open_listing.h"
#include "editor/acerca_form.h"
#include "editor/edit_history.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/growing_layout.h"
#include "platform/listing_io.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/recovery.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "startup/inicial.h"
#include "viewer/description_view.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::ss;
using platform::twips;
using platform::twipsRect;

namespace {
const char* const kModifiedQuestion =
    "Proyecto actual se encuentra modificado. ¿Desea guardar los cambios?";

bool isUndoOrRedoKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y) ||
           key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
}
} // namespace

principal::principal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("principal"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    history_ = new EditHistory(this);
    recovery_ = new platform::RecoveryKeeper(
&platform::unsavedWork, this);
    connect(history_, &EditHistory::stateChanged, this, &principal::keepRecoveryCopy);
    connect(history_, &EditHistory::applied, this, &principal::showHistoryChange);
    buildControls();
    buildMenus();
    Form_Load();
    platform::rememberPlace(this);
}

// The list takes a third of the room the window grows by, the description the
// rest; the buttons under the list stay under it.
void principal::growWith(QWidget* area) {
    using Share = platform::GrowingLayout::Share;
    auto* growing = new platform::GrowingLayout(area);
    growing->follow(titulo_txt, Share{.width = 1});
    growing->follow(categorias, Share{.width = 1.0 / 3});
    growing->follow(cat_editar, Share{.left = 1.0 / 6});
    growing->follow(listado, Share{.width = 1.0 / 3, .height = 1});
    growing->follow(agregar, Share{.top = 1});
    growing->follow(eliminar, Share{.left = 1.0 / 3, .top = 1});
    growing->follow(cambiar_cat, Share{.top = 1, .width = 1.0 / 3});
    for (QWidget* panel : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        growing->follow(panel, Share{.left = 1.0 / 3, .width = 2.0 / 3, .height = 1});
    for (QWidget* button : {editar, editar_2})
        growing->follow(button, Share{.left = 1.0 / 3, .top = 1});
}

principal::~principal() = default;

void principal::buildControls() {
    auto* area = new QWidget(this);
    area->resize(twips(5145), twips(5115));
    setCentralWidget(area);

    Label2 = place(new QLabel(QStringLiteral("Título del indice :"), area), "Label2",
                   twipsRect(240, 120, 1335, 255));
    titulo_txt = place(new QLineEdit(area), "titulo_txt", twipsRect(1560, 120, 3375, 285));
    categorias = place(new QComboBox(area), "categorias", twipsRect(240, 600, 2175, 315));
    cat_editar = place(new QPushButton(QStringLiteral("Editar"), area), "cat_editar",
                       twipsRect(720, 960, 1215, 375));
    listado = place(new QListWidget(area), "listado", twipsRect(240, 1440, 2175, 2595));
    agregar = place(new QPushButton(QStringLiteral("&Agregar"), area), "agregar",
                    twipsRect(120, 4200, 1095, 375));
    eliminar = place(new QPushButton(QStringLiteral("&Eliminar"), area), "eliminar",
                     twipsRect(1320, 4200, 1095, 375));
    cambiar_cat = place(new QPushButton(QStringLiteral("Cambiar de categoría"), area),
                        "cambiar_cat", twipsRect(120, 4680, 2295, 375));
    listado->setSelectionMode(QAbstractItemView::SingleSelection);
    // No caption sits beside these two to name them.
    categorias->setAccessibleName(QStringLiteral("Categorías"));
    listado->setAccessibleName(QStringLiteral("Elementos"));
    // Measuring every name to lay out a full list costs more than the rest of
    // the window; a name wider than the list ends in "…".
    listado->setUniformItemSizes(true);
    eliminar->setEnabled(false);
    cambiar_cat->setEnabled(false);

    descripcion_ = new DescriptionArea(area, DescriptionFace::Editor, 2640, 600,
                                       {"Label1", QStringLiteral("Elemento sin descripción")});
    Frame1 = descripcion_->frame1();
    Frame2 = descripcion_->frame2();
    Label1 = descripcion_->notice();
    editar = place(new QPushButton(QStringLiteral("E&ditar"), Frame1), "editar",
                   twipsRect(480, 3600, 1335, 375));
    editar_2 = place(new QPushButton(QStringLiteral("E&ditar"), Frame2), "editar_2",
                     twipsRect(480, 3600, 1335, 375));
    editar_2->setEnabled(false);
    connect(descripcion_, &DescriptionArea::emptyElementShown, editar_2,
            [this] { editar_2->setEnabled(true); });

    growWith(area);

    connect(categorias, &QComboBox::currentIndexChanged, this, &principal::categorias_Click);
    connect(listado, &QListWidget::itemSelectionChanged, this, &principal::listado_Click);
    connect(titulo_txt, &QLineEdit::textChanged, this, &principal::titulo_txt_Change);
    // The box's own undo would fork from the editor's: Ctrl+Z goes to the editor.
    titulo_txt->installEventFilter(this);
    connectElementCommands();
    connectFind();

    setWindowTitle(QStringLiteral("Vitrandel"));
}

void principal::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         void (principal::*handler)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };

    menu_archivo = menuBar()->addMenu(QStringLiteral("A&rchivo"));
    menu_archivo->setObjectName(QStringLiteral("menu_archivo"));
    archivo_nuevo = action(menu_archivo, "archivo_nuevo", QStringLiteral("&Nuevo"),
                           &principal::archivo_nuevo_Click);
    archivo_abrir = action(menu_archivo, "archivo_abrir", QStringLiteral("&Abrir..."),
                           &principal::archivo_abrir_Click);
    archivo_recientes = menu_archivo->addMenu(QStringLiteral("Abiertos &recientemente"));
    archivo_recientes->setObjectName(QStringLiteral("archivo_recientes"));
    archivo_recientes->menuAction()->setObjectName(QStringLiteral("archivo_recientes"));
    archivo_guardar = action(menu_archivo, "archivo_guardar", QStringLiteral("&Guardar"),
                             &principal::archivo_guardar_Click);
    archivo_guardar_como = action(menu_archivo, "archivo_guardar_como",
                                  QStringLiteral("Guardar &como..."),
                                  &principal::archivo_guardar_como_Click);
    archivo_exportar_web = action(menu_archivo, "archivo_exportar_web",
                                  QStringLiteral("Exportar como página &web..."),
                                  &principal::archivo_exportar_web_Click);
    archivo_imprimir = action(menu_archivo, "archivo_imprimir", QStringLiteral("&Imprimir..."),
                              &principal::archivo_imprimir_Click);
    archivo_imprimir->setShortcut(QKeySequence::Print);
    archivo_raya1 = separator(menu_archivo, "archivo_raya1");
    archivo_salir = action(menu_archivo, "archivo_salir", QStringLiteral("&Salir"),
                           &principal::archivo_salir_Click);

    // Alt+E is "&Eliminar"'s, and stays so.
    menu_edicion = menuBar()->addMenu(QStringLiteral("Ed&ición"));
    menu_edicion->setObjectName(QStringLiteral("menu_edicion"));
    edicion_deshacer = history_->stack()->createUndoAction(menu_edicion, QStringLiteral("&Deshacer"));
    edicion_deshacer->setObjectName(QStringLiteral("edicion_deshacer"));
    edicion_deshacer->setShortcut(QKeyCombination(Qt::CTRL, Qt::Key_Z));
    edicion_rehacer = history_->stack()->createRedoAction(menu_edicion, QStringLiteral("&Rehacer"));
    edicion_rehacer->setObjectName(QStringLiteral("edicion_rehacer"));
    edicion_rehacer->setShortcuts({QKeyCombination(Qt::CTRL, Qt::Key_Y),
                                   QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z)});
    menu_edicion->addAction(edicion_deshacer);
    menu_edicion->addAction(edicion_rehacer);

    menu_proyecto = menuBar()->addMenu(QStringLiteral("&Proyecto"));
    menu_proyecto->setObjectName(QStringLiteral("menu_proyecto"));
    proyecto_ejecutar = action(menu_proyecto, "proyecto_ejecutar", QStringLiteral("&Ejecutar"),
                               &principal::proyecto_ejecutar_Click);
    proyecto_opciones = action(menu_proyecto, "proyecto_opciones",
                               QStringLiteral("&Opciones..."), &principal::proyecto_opciones_Click);
    proyecto_raya1 = separator(menu_proyecto, "proyecto_raya1");
    proyecto_curdir = action(menu_proyecto, "proyecto_curdir",
                             QStringLiteral("E&stablecer directorio de trabajo..."),
                             &principal::proyecto_curdir_Click);
    proyecto_agregar_carpeta = action(menu_proyecto, "proyecto_agregar_carpeta",
                                      QStringLiteral("Agregar desde &carpeta..."),
                                      &principal::proyecto_agregar_carpeta_Click);
    proyecto_raya2 = separator(menu_proyecto, "proyecto_raya2");
    // Ctrl+F belongs to the list's "Buscar...", which opens the same window.
    proyecto_buscar = action(menu_proyecto, "proyecto_buscar", QStringLiteral("&Buscar...\tCtrl+F"),
                             &principal::proyecto_buscar_Click);
    proyecto_biblioteca = action(menu_proyecto, "proyecto_biblioteca",
                                 QStringLiteral("Bi&blioteca de discos..."),
                                 &principal::proyecto_biblioteca_Click);
    proyecto_biblioteca->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));

    menu_ayuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    menu_ayuda->setObjectName(QStringLiteral("menu_ayuda"));
    ayuda_acerca = action(menu_ayuda, "ayuda_acerca", QStringLiteral("Acerca de Vitrandel..."),
                          &principal::ayuda_acerca_Click);

    connect(menu_archivo, &QMenu::aboutToShow, this, &principal::menu_archivo_Click);
    connect(menu_proyecto, &QMenu::aboutToShow, this, &principal::menu_proyecto_Click);
}

void principal::Form_Load() {
    fillCategoryList();
    setWindowTitle(QStringLiteral("Vitrandel"));
    if (!exchange().fileDlgResult.empty()) {
        const bool read = discs::cargar_listado(qs(exchange().fileDlgResult));
        showTitle();
        if (read)
            history_->restart();
        else
            exchange().fileDlgResult.clear(); // never Save over a file that failed to read
    }
    descripcion_->showNotice();
    adjustSize();
    platform::centerOnScreen(this);
}

void principal::fillCategoryList() {
    const int remembered = categorias->currentIndex();
    {
        const QSignalBlocker quiet(categorias);
        platform::fillCategoryChoices(categorias, QStringLiteral("Mostrar todos"), project());
        // An entry that no longer exists falls back to "Mostrar todos".
        categorias->setCurrentIndex(remembered >= 0 && remembered < categorias->count() ? remembered : 0);
    }
    categorias_Click();
}

void principal::fillElementList() {
    const QSignalBlocker quiet(listado);
    listado->clear();
    const int s = categorias->currentIndex();
    const Project& p = project();
    for (int i = 0; i < p.elementCount; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        if (listedUnder(e, s))
            addElementEntry(listado, e.name, i);
    }
}

void principal::categorias_Click() {
    fillElementList();
    showDescription();
}

void principal::listado_Click() {
    showDescription();
    const bool one = listado->selectedItems().size() == 1;
    eliminar->setEnabled(one);
    cambiar_cat->setEnabled(one && project().categoryCount > 0);
}

// Text the listing cannot hold is refused as it is typed, and the box goes
// back to the title it holds.
void principal::titulo_txt_Change() {
    if (showingTitle_)
        return; // the box shows what the Project holds
    const QString title = platform::composed(titulo_txt->text());
    if (!platform::acceptStorable(title, QStringLiteral("El título"))) {
        const QString kept = qs(project().title);
        const auto cursor = titulo_txt->cursorPosition() - (titulo_txt->text().size() - kept.size());
        const QSignalBlocker quiet(titulo_txt);
        titulo_txt->setText(kept);
        titulo_txt->setCursorPosition(static_cast<int>(std::clamp<qsizetype>(cursor, 0, kept.size())));
        return;
    }
    history_->recordTitle(ss(title));
}

void principal::showTitle() {
    showingTitle_ = true;
    titulo_txt->setText(qs(project().title));
    showingTitle_ = false;
}

bool principal::eventFilter(QObject* watched, QEvent* event) {
    // Left unaccepted, the key goes on to the window's shortcuts.
    if (watched == titulo_txt && event->type() == QEvent::ShortcutOverride &&
        isUndoOrRedoKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void principal::showDescription() { descripcion_->showDescription(listado); }

// --- Project commands -------------------------------------------------------

void principal::menu_archivo_Click() {
    archivo_guardar->setEnabled(!project().listingPath.empty());
    fillRecentMenu();
}

void principal::menu_proyecto_Click() { proyecto_ejecutar->setEnabled(project().elementCount != 0); }

bool principal::askToSaveChanges() {
    if (!isTrue(project().modified))
        return true;
    switch (platform::msgBox(QString::fromUtf8(kModifiedQuestion), platform::vbYesNoCancel)) {
    case platform::vbYes: return save();
    case platform::vbNo: return true;
    default: return false;
    }
}

void principal::archivo_nuevo_Click() {
    if (!askToSaveChanges())
        return;
    Project& p = project();
    for (int i = 0; i < p.elementCount; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        const std::int16_t fit = e.fitImage; // New has always left the fit flag alone
        e = Element{};
        e.fitImage = fit;
    }
    p.elementCount = 0;
    for (int i = 0; i < p.categoryCount; ++i)
        p.categories[static_cast<std::size_t>(i)].clear();
    p.categoryCount = 0;
    fillElementList();
    descripcion_->showNotice();
    {
        const QSignalBlocker quiet(categorias);
        categorias->clear();
        categorias->addItem(QStringLiteral("Mostrar todos"));
        categorias->setCurrentIndex(0);
    }
    p.title.clear();
    showTitle();
    // The next Save must ask where: the old file holds another listing.
    exchange().fileDlgResult.clear();
    p.listingPath.clear();
    history_->restart();
}

void principal::showFileDialog(const char* caption, int mode) {
    ExchangeFields& x = exchange();
    x.fileDlgCaption = caption;
    x.fileDlgFilters = {};
    x.fileDlgFilters[0] = "Listados (*.lst)";
    x.fileDlgFilters[1] = "Todos los archivos (*.*)";
    x.fileDlgMode = static_cast<std::int16_t>(mode);
    x.fileDlgFileName.clear();
    com_dlg::mostrar(this);
}

void principal::archivo_abrir_Click() {
    if (!askToSaveChanges())
        return;
    showFileDialog("Abrir...", 1);
    if (!exchange().fileDlgResult.empty())
        loadListing(qs(exchange().fileDlgResult));
}

void principal::loadListing(const QString& path) {
    exchange().fileDlgResult = ss(path);
    const bool read = discs::cargar_listado(path);
    // A listing that failed to read must not be overwritten by the next Save.
    if (!read)
        exchange().fileDlgResult.clear();
    fillElementList();
    fillCategoryList();
    showTitle();
    if (read)
        history_->restart();
}

bool principal::save() {
    if (exchange().fileDlgResult.empty())
        return saveAs();
    if (!platform::guardar_listado(qs(exchange().fileDlgResult)))
        return false;
    history_->markSaved();
    return true;
}

bool principal::saveAs() {
    showFileDialog("Guardar como...", 2);
    if (exchange().fileDlgResult.empty())
        return false;
    if (!platform::guardar_listado(qs(exchange().fileDlgResult)))
        return false;
    history_->markSaved();
    return true;
}

void principal::archivo_guardar_Click() { save(); }

void principal::archivo_guardar_como_Click() { saveAs(); }

void principal::archivo_salir_Click() { close(); }

void principal::closeEvent(QCloseEvent* event) {
    if (!closingConfirmed_ && !askToSaveChanges()) {
        event->ignore();
        return;
    }
    event->accept();
}

void principal::proyecto_ejecutar_Click() {
    if (!askToSaveChanges())
        return;
    // The viewer first, so that the program never finds itself without a window.
    startup::showViewer();
    closingConfirmed_ = true;
    close();
}

void principal::proyecto_opciones_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("cambio de opciones"));
    if (password_gate(this))
        opciones_form::mostrar(this);
}

void principal::proyecto_curdir_Click() {
    const EditHistory::Step step(*history_, QStringLiteral("cambio de directorio de trabajo"));
    ExchangeFields& x = exchange();
    x.dirDlgStart = isTrue(project().useCurrentDir) ? std::string(".") : ss(QDir::currentPath());
    cambio_dir::mostrar(this);
}

void principal::proyecto_biblioteca_Click() {
    // Opening a disc from the library replaces the listing here, as Run does.
    biblioteca_form::mostrar(this, [this] {
        if (!askToSaveChanges())
            return false;
        closingConfirmed_ = true;
        return true;
    });
}

void principal::ayuda_acerca_Click() {
    acerca_form about(this);
    platform::execModal(about);
}

} // namespace vitrandel
