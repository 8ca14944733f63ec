// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include "dialogs/folder_chooser.h"

namespace vitrandel {

// Chooses a folder to write into, with the same drive and folder lists as the
// working-directory chooser but without changing the working directory.
class elegir_carpeta : public FolderChooser {
    Q_OBJECT
public:
    elegir_carpeta(const QString& caption, const QString& start, QWidget* parent = nullptr);

    // The folder open in the list when Aceptar was pressed; empty when the
    // user cancelled.
    static QString elegir(QWidget* parent, const QString& caption, const QString& start);

    QString chosen() const { return chosen_; }

private:
    void aceptar_Click();

    QString chosen_;
};

} // namespace vitrandel
