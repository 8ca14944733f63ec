// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/elegir_carpeta.h"

#include <QPushButton>

#include "dialogs/folder_list.h"
#include "platform/modal.h"

namespace vitrandel {

elegir_carpeta::elegir_carpeta(const QString& caption, const QString& start, QWidget* parent)
    : FolderChooser("elegir_carpeta", caption, parent) {
    connect(aceptar, &QPushButton::clicked, this, &elegir_carpeta::aceptar_Click);
    openAt(start);
}

QString elegir_carpeta::elegir(QWidget* parent, const QString& caption, const QString& start) {
    elegir_carpeta dialog(caption, start, parent);
    return platform::execModal(dialog) == QDialog::Accepted ? dialog.chosen() : QString();
}

void elegir_carpeta::aceptar_Click() {
    chosen_ = Dir1->path();
    accept();
}

} // namespace vitrandel
