// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/com_dlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/drive_and_folder_lists.h"
#include "dialogs/drive_list.h"
#include "dialogs/file_list.h"
#include "dialogs/folder_list.h"
#include "model/helpers.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/error_text.h"
#include "platform/file_helpers.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/text.h"
#include "platform/twips.h"
#include "platform/volumes.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::ss;
using platform::twips;
using platform::twipsRect;

com_dlg::com_dlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("com_dlg"));
    setFixedSize(twips(5775), twips(3435));
    Label1 = place(new QLabel(QStringLiteral("Unidad :"), this), "Label1",
                   twipsRect(480, 240, 720, 255));
    Drive1 = place(new DriveList(this), "Drive1", twipsRect(1200, 240, 2895, 315));
    Dir1 = place(new FolderList(this), "Dir1", twipsRect(360, 600, 2535, 1665));
    File1 = place(new FileList(this), "File1", twipsRect(2880, 600, 2655, 1650));
    Label2 = place(new QLabel(QStringLiteral("Nombre de archivo :"), this), "Label2",
                   twipsRect(360, 2400, 1560, 255));
    Text1 = place(new QLineEdit(this), "Text1", twipsRect(1920, 2400, 2175, 285));
    Label3 = place(new QLabel(QStringLiteral("Tipo de archivo :"), this), "Label3",
                   twipsRect(360, 2880, 1320, 255));
    Combo1 = place(new QComboBox(this), "Combo1", twipsRect(1680, 2880, 2415, 315));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(4200, 2400, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(4200, 2880, 1455, 375));
    aceptar->setDefault(true);

    setTabOrder(Text1, File1);
    setTabOrder(File1, Dir1);
    setTabOrder(Dir1, Drive1);
    setTabOrder(Drive1, Combo1);
    setTabOrder(Combo1, aceptar);
    setTabOrder(aceptar, cancelar);
    Text1->setFocus();

    connect(Drive1, &DriveList::driveChanged, this, &com_dlg::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &com_dlg::Dir1_Change);
    connect(File1, &QListWidget::itemSelectionChanged, this, &com_dlg::File1_Click);
    // A click on the entry already picked changes no selection, yet must put
    // its name back into the box, as the double-click that may follow relies on.
    connect(File1, &QListWidget::itemClicked, this, &com_dlg::File1_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &com_dlg::aceptar_Click);
    connect(Text1, &QLineEdit::textChanged, this, &com_dlg::Text1_Change);
    connect(aceptar, &QPushButton::clicked, this, &com_dlg::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &com_dlg::reject);

    Form_Load();
}

void com_dlg::mostrar(QWidget* parent) {
    com_dlg dialog(parent);
    platform::execModal(dialog);
}

void com_dlg::Form_Load() {
    const ExchangeFields& x = exchange();
    setWindowTitle(qs(x.fileDlgCaption));
    // A working directory removed meanwhile leaves the lists at its volume's
    // root rather than at nothing.
    openFolderLists(Drive1, Dir1, QString());

    Combo1->clear();
    for (const std::string& filter : x.fileDlgFilters) {
        if (filter.empty())
            break;
        Combo1->addItem(qs(filter));
    }
    connect(Combo1, &QComboBox::currentIndexChanged, this, &com_dlg::Combo1_Click);
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }
    Text1->setText(qs(x.fileDlgFileName));
}

void com_dlg::Combo1_Click() {
    const QString filter = Combo1->currentText();
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    if (open >= 0)
        File1->setPattern(filter.mid(open + 1, qMax<qsizetype>(0, filter.size() - open - 2)));
}

void com_dlg::Drive1_Change() { followDrive(Drive1, Dir1); }

void com_dlg::Dir1_Change() {
    File1->setFolder(Dir1->path());
}

void com_dlg::File1_Click() {
    const QList<QListWidgetItem*> picked = File1->selectedItems();
    if (picked.isEmpty())
        return;
    const QString name = picked.first()->text();
    if (Text1->text() != name)
        Text1->setText(name);
    // Only a pick in the list selects the box's text; while the user types,
    // selecting it would make the next key replace what was typed.
    if (!followingTypedText_)
        Text1->selectAll();
}

void com_dlg::Text1_Change() {
    const QString typed = Text1->text();
    const QString lowered = typed.toLower();
    // Names that differ only in letter case are different files here, so the
    // name spelled exactly as typed comes before any other spelling.
    int match = -1;
    for (int i = 0; i < File1->count(); ++i) {
        const QString name = File1->item(i)->text();
        if (name == typed) {
            match = i;
            break;
        }
        if (match < 0 && name.toLower() == lowered)
            match = i;
    }
    if (match < 0)
        return;
    // Picking the entry that is already picked must still put the list's
    // spelling into the box.
    const QScopedValueRollback following(followingTypedText_, true);
    if (File1->item(match)->isSelected())
        File1_Click();
    else
        File1->setCurrentRow(match);
}

void com_dlg::aceptar_Click() {
    ExchangeFields& x = exchange();
    const QString name = Text1->text();
    // An empty box names no file; the dialog waits for one.
    if (name.isEmpty())
        return;
    if (platform::directorio_con_archivos(name)) {
        if (const int error = platform::changeCurrentFolder(platform::nativeRelativePath(name)))
            platform::msgBox(platform::errorDescription(error),
                             platform::vbOKOnly + platform::vbExclamation);
        return;
    }
    if (x.fileDlgMode != 1 && x.fileDlgMode != 2)
        return;
    const QString filter = Combo1->currentText();
    const qsizetype dot = filter.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        x.fileDlgResult.clear();
        accept();
        return;
    }
    const QString extension = filter.mid(dot + 1, qMax<qsizetype>(0, filter.size() - dot - 2));
    QString folder = Dir1->path();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString path = folder + name;
    QString result = path;
    if (extension != QLatin1String("*")) {
        result = qs(cambiar_extension(ss(path), ss(extension)));
        // Letter case matters to this system's files: a name that already has
        // the extension keeps its own spelling of it (VIEJO.LST stays so).
        if (result.compare(path, Qt::CaseInsensitive) == 0)
            result = path;
    }
    // Names on discs and in listings made on Windows come in any letter case:
    // a file spelled otherwise is the one meant when the exact one is missing.
    const QString existing = platform::existingPathIgnoringCase(result);
    if (QFileInfo::exists(existing))
        result = existing;
    if (x.fileDlgMode == 2 && QFileInfo::exists(result)) {
        const QString question =
            QStringLiteral("El archivo %1 ya existe.\n¿Desea reemplazarlo?").arg(result);
        if (platform::msgBox(question, platform::vbYesNo + platform::vbExclamation) != platform::vbYes)
            return;
    }
    x.fileDlgResult = ss(result);
    accept();
}

void com_dlg::reject() {
    exchange().fileDlgResult.clear();
    QDialog::reject();
}

} // namespace vitrandel
