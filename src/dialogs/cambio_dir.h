// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

#include "dialogs/folder_chooser.h"

class QPushButton;

namespace vitrandel {

// Chooses the working directory: a folder made the process's current
// directory, or back to the default setting that records "ruta actual=.".
class cambio_dir : public FolderChooser {
    Q_OBJECT
public:
    explicit cambio_dir(QWidget* parent = nullptr);

    // Starts at dirDlgStart ("." for the current directory) and applies the
    // outcome itself, to useCurrentDir and to the current directory.
    static void mostrar(QWidget* parent);

private:
    void Form_Load();
    void aceptar_Click();
    void dejar_Click();
    void noteChange(const std::string& before);

    QPushButton* dejar;
};

} // namespace vitrandel
