// SPDX-License-Identifier: GPL-2.0-or-later
#include "description/editar_desc.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>
#include <cmath>

#include "description/fuentes.h"
#include "dialogs/file_list.h"
#include "dialogs/folder_list.h"
#include "model/helpers.h"
#include "model/project.h"
#include "pictures/picture_views.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/error_text.h"
#include "platform/file_helpers.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "platform/volumes.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::ss;
using platform::twips;
using platform::twipsRect;

namespace {

// Character for character as the design has it, "*wmf" without its dot included.
const char* const kPicturePattern = "*.jpg;*.gif;*.bmp;*.dib;*wmf;*.emf;*.ico;*.cur";
constexpr int kPollMs = 500;
constexpr int kSettleMs = 100;

bool g_watchFolders = true;

QLabel* label(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    return place(new QLabel(QString::fromUtf8(text), parent), name, geometry);
}

QPushButton* button(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    return place(new QPushButton(QString::fromUtf8(text), parent), name, geometry);
}

} // namespace

void editar_desc::setFolderWatching(bool on) { g_watchFolders = on; }

editar_desc::editar_desc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("editar_desc"));
    setWindowTitle(QStringLiteral("Edición de la descripción..."));
    setFixedSize(twips(5415), twips(5295));

    Label5 = label(this, "Label5", "Nombre del subdirectorio de archivos de origen :",
                   twipsRect(240, 240, 4935, 255));
    Combo1 = place(new QComboBox(this), "Combo1", twipsRect(1320, 600, 2655, 315));
    Label4 = label(this, "Label4", "Archivos disponibles :", twipsRect(240, 1080, 2295, 255));
    File1 = place(new FileList(this), "File1", twipsRect(240, 1320, 2295, 1455));
    Label3 = label(this, "Label3", " >>", twipsRect(2640, 1800, 375, 255));
    Label6 = label(this, "Label6", " >>", twipsRect(2640, 2160, 375, 255));
    Label1 = label(this, "Label1", "Previsualización de la imagen", twipsRect(3000, 1080, 2295, 255));
    // The stretched view lies under the natural one and shows when that one is hidden.
    picture1 = place(new QLabel(this), "picture1", twipsRect(3120, 1320, 2055, 1575));
    picture1->setScaledContents(true);
    Picture2 = place(new QLabel(this), "Picture2", twipsRect(3120, 1320, 2055, 1575));
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    limpiar = button(this, "limpiar", "Limpiar imagen", twipsRect(3000, 3000, 1455, 375));
    Check1 = place(new QCheckBox(QStringLiteral("Ajustar a los bordes"), this), "Check1",
                   twipsRect(3000, 3480, 1935, 255));
    cambiar_fuente = button(this, "cambiar_fuente", "&Fuente...", twipsRect(3000, 3840, 1455, 375));
    cambiar_color = button(this, "cambiar_color", "&Color...", twipsRect(4560, 3840, 735, 375));
    Label2 = label(this, "Label2", "Escriba aquí el texto", twipsRect(480, 2880, 2055, 255));
    Text1 = place(new QPlainTextEdit(this), "Text1", twipsRect(240, 3120, 2535, 1935));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    platform::usePaper(Text1);
    // A tab would be saved as a blank; Tab moves on, as in every other box.
    Text1->setTabChangesFocus(true);
    aceptar = button(this, "aceptar", "&Aceptar", twipsRect(3840, 4320, 1455, 375));
    cancelar = button(this, "cancelar", "Cancelar", twipsRect(3840, 4800, 1455, 375));

    File2 = new FileList(this);
    File2->setObjectName(QStringLiteral("File2"));
    File2->hide();
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->hide();
    const QString pattern = QString::fromLatin1(kPicturePattern);
    File1->setPattern(pattern);
    File2->setPattern(pattern);

    actualizador = new QTimer(this);
    actualizador->setObjectName(QStringLiteral("actualizador"));
    actualizador->setInterval(kPollMs);
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);

    limpiar->setEnabled(false);
    Check1->setEnabled(false);
    // The window has no default button: Enter in the file list or the check
    // box must not press "Limpiar imagen" or any other (keyPressEvent).
    for (QPushButton* b : {limpiar, cambiar_fuente, cambiar_color, aceptar, cancelar})
        b->setAutoDefault(false);

    setTabOrder(File1, Combo1);
    setTabOrder(Combo1, Text1);
    setTabOrder(Text1, limpiar);
    setTabOrder(limpiar, Check1);
    setTabOrder(Check1, cambiar_fuente);
    setTabOrder(cambiar_fuente, cambiar_color);
    setTabOrder(cambiar_color, aceptar);
    setTabOrder(aceptar, cancelar);
    File1->setFocus();

    connect(Check1, &QCheckBox::toggled, this, &editar_desc::Check1_Click);
    connect(File1, &QListWidget::itemSelectionChanged, this, &editar_desc::File1_Click);
    // A click on the file already picked picks it again after "Limpiar imagen".
    connect(File1, &QListWidget::itemClicked, this, &editar_desc::File1_Click);
    // Enter takes the highlighted file, as a click does (again after "Limpiar
    // imagen"); a file only outlined by the keyboard focus is not taken.
    connect(File1, &QListWidget::itemActivated, this, &editar_desc::File1_Click);
    connect(limpiar, &QPushButton::clicked, this, &editar_desc::limpiar_Click);
    connect(cambiar_fuente, &QPushButton::clicked, this, &editar_desc::cambiar_fuente_Click);
    connect(cambiar_color, &QPushButton::clicked, this, &editar_desc::cambiar_color_Click);
    connect(aceptar, &QPushButton::clicked, this, &editar_desc::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &editar_desc::reject);
    connect(actualizador, &QTimer::timeout, this, &editar_desc::actualizador_Timer);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &editar_desc::folderChanged);
    connect(settle_, &QTimer::timeout, this, &editar_desc::actualizador_Timer);

    Form_Load();
}

void editar_desc::Form_Load() {
    const ExchangeFields& x = exchange();
    pendingImagePath = qs(x.descImagePath);
    Check1->setChecked(isTrue(x.descFitImage));
    Check1_Click();
    applyFont();
    textColor_ = x.descTextColor;
    platform::applyTextColor(Text1, textColor_);
    QString text = qs(x.descText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(text);

    const QString picture = platform::picturePath(pendingImagePath);
    if (!x.descImagePath.empty() && platform::existe_archivo(picture)) {
        previewFile_ = picture;
        showPreview();
        Check1->setEnabled(true);
        limpiar->setEnabled(true);
    }

    // A current directory removed meanwhile shows its volume's root instead.
    if (!Dir1->setPath(QDir::currentPath()))
        Dir1->setPath(platform::volumeOf(QDir::currentPath()));
    cargar_subdirectorios();
}

// Font of the exchange fields to Text1. A size the chooser does not offer
// shows as 10, and accepting hands 10 back; a face this machine lacks shows
// in Fixedsys but is handed back as named.
void editar_desc::applyFont() {
    const ExchangeFields& x = exchange();
    QFont font = Text1->font();
    font.setBold(isTrue(x.descFontBold));
    font.setItalic(isTrue(x.descFontItalic));
    font.setFamily(platform::faceToDraw(x.descFontName));
    font.setPointSize(tamano_no_estandar(x.descFontSize) ? 10 : x.descFontSize);
    Text1->setFont(platform::crispFont(font));
}

void editar_desc::cargar_subdirectorios() {
    Combo1->clear();
    Combo1->addItem(QStringLiteral("Directorio actual"));
    for (const QString& folder : Dir1->subfolders()) {
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        if (slash >= 0)
            Combo1->addItem(folder.mid(slash + 1));
    }
    connect(Combo1, &QComboBox::currentIndexChanged, this, &editar_desc::Combo1_Click,
            Qt::UniqueConnection);
    Combo1->setCurrentIndex(0);
    Combo1_Click();
}

void editar_desc::Combo1_Click() {
    const int entry = Combo1->currentIndex();
    if (entry <= 0) {
        showFolder(Dir1->path());
        shownEntry_ = 0;
        return;
    }
    QString base = Dir1->path();
    if (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QString folder = base + QLatin1Char('/') + Combo1->itemText(entry);
    if (const int error = platform::folderReadError(folder)) {
        platform::msgBox(platform::errorDescription(error, folder),
                         platform::vbOKOnly + platform::vbExclamation);
        // The selector goes back to the folder the list still shows: a picture
        // picked there must not be recorded under the folder that failed.
        const QSignalBlocker quiet(Combo1);
        Combo1->setCurrentIndex(shownEntry_);
        return;
    }
    showFolder(folder);
    shownEntry_ = entry;
}

void editar_desc::showFolder(const QString& folder) {
    File1->setFolder(folder);
    File2->setFolder(folder);
    watch(folder);
}

void editar_desc::watch(const QString& folder) {
    settle_->stop();
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    // Reading a large folder twice a second costs a core's attention for
    // nothing; the timer is kept for folders the system cannot watch.
    if (g_watchFolders && watcher_->addPath(folder))
        actualizador->stop();
    else
        actualizador->start();
}

void editar_desc::folderChanged() {
    // A folder removed (or replaced) is no longer watched: watch it again, or
    // poll. Watching stops the settling delay, so it is started after.
    if (watcher_->directories().isEmpty())
        watch(File1->folder());
    if (!settle_->isActive())
        settle_->start();
}

void editar_desc::actualizador_Timer() {
    File2->refresh();
    const int shown = File1->count();
    const int onDisk = File2->count();
    bool differ = shown != onDisk;
    for (int i = 0; !differ && i <= minimo(shown - 1, onDisk - 1); ++i)
        differ = File1->item(i)->text().toLower() != File2->item(i)->text().toLower();
    // Left alone, File1 keeps its selection and scroll position.
    if (differ)
        File1->refresh();
}

void editar_desc::File1_Click() {
    const QList<QListWidgetItem*> picked = File1->selectedItems();
    if (picked.size() != 1)
        return;
    const QString name = picked.first()->text();
    const QString path = File1->folder() + QLatin1Char('/') + name;
    // A click also changes the selection: one reading of the picture, and
    // one refusal, is enough.
    if (path == previewFile_ || path == refusedFile_ || !platform::existe_archivo(path))
        return;
    const int entry = Combo1->currentIndex();
    // Names on disk are taken as they stand: composed, they would name no file.
    if (!platform::acceptStorable(name, QStringLiteral("El nombre del archivo")) ||
        (entry > 0 && !platform::acceptStorable(Combo1->itemText(entry), QStringLiteral("El nombre de la carpeta")))) {
        refusedFile_ = path;
        return;
    }
    refusedFile_.clear();
    pendingImagePath = entry > 0 ? Combo1->itemText(entry) + QLatin1Char('\\') + name : name;
    previewFile_ = path;
    showPreview();
    limpiar->setEnabled(true);
    Check1->setEnabled(true);
}

void editar_desc::Check1_Click() {
    const bool fit = Check1->isChecked();
    picture1->setVisible(fit);
    Picture2->setVisible(!fit);
    showPreview();
}

// Only the visible preview is decoded, and only as much of it as it shows.
void editar_desc::showPreview() {
    const bool fit = Check1->isChecked();
    QLabel* shown = fit ? picture1 : Picture2;
    pictures::clearPictureView(fit ? Picture2 : picture1);
    if (previewFile_.isEmpty())
        pictures::clearPictureView(shown);
    else
        pictures::showPictureIn(shown, previewFile_, fit);
}

void editar_desc::limpiar_Click() {
    limpiar->setEnabled(false);
    Check1->setEnabled(false);
    pendingImagePath.clear();
    previewFile_.clear();
    showPreview();
}

void editar_desc::cambiar_fuente_Click() {
    ExchangeFields& x = exchange();
    x.fontDlgStyle = styleCode(x.descFontBold, x.descFontItalic);
    x.fontDlgSize = x.descFontSize;
    x.fontDlgName = x.descFontName;
    fuentes chooser(this);
    platform::execModal(chooser);
    applyStyleCode(x.descFontBold, x.descFontItalic, x.fontDlgStyle);
    x.descFontSize = x.fontDlgSize;
    x.descFontName = x.fontDlgName;
    applyFont();
}

void editar_desc::cambiar_color_Click() {
    QColorDialog chooser(Text1->palette().color(QPalette::Text), this);
    chooser.setObjectName(QStringLiteral("color_texto"));
    chooser.setWindowTitle(QStringLiteral("Color del texto"));
    // Qt's own dialog, translated with the rest of Qt's texts, on every desktop.
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    if (platform::execModal(chooser) != QDialog::Accepted)
        return;
    textColor_ = platform::listingFromColor(chooser.selectedColor());
    platform::applyTextColor(Text1, textColor_);
}

// The text as typed: toPlainText() would turn no-break spaces, which the
// listing holds, into plain ones.
QString editar_desc::typedText() const {
    QString text = Text1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void editar_desc::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void editar_desc::aceptar_Click() {
    const QString text = platform::composed(typedText());
    if (!platform::acceptStorable(text, QStringLiteral("La descripción")))
        return;
    ExchangeFields& x = exchange();
    const QFont font = Text1->font();
    x.descText = ss(text);
    x.descFontBold = toBool16(font.bold());
    x.descFontItalic = toBool16(font.italic());
    // descFontName stays as the element or the font button left it: Text1 may
    // be drawing a stand-in face (Carlito for Calibri, Fixedsys for Verdana).
    x.descFontSize = static_cast<std::int16_t>(std::lrint(font.pointSizeF()));
    x.descTextColor = textColor_;
    x.descFitImage = toBool16(Check1->isChecked());
    x.descImagePath = ss(pendingImagePath);
    project().modified = kTrue;
    accept();
}

} // namespace vitrandel
