// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vitrandel {

// The project's password protection and, shown but not changeable, its
// lock; and whether the program remembers the listings it opens.
class opciones_form : public QDialog {
    Q_OBJECT
public:
    explicit opciones_form(QWidget* parent = nullptr);

    // Aceptar writes the settings into the Project; Cancelar leaves it alone.
    static void mostrar(QWidget* parent);

private:
    void Form_Load();
    void Check2_Click();
    void aceptar_Click();

    QCheckBox* Check1;
    QCheckBox* Check2;
    QLineEdit* Text1;
    QCheckBox* recordar_biblioteca;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
