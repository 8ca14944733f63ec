// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace vitrandel {

// Picks the category of one element.
class cambiar_categoria_form : public QDialog {
    Q_OBJECT
public:
    explicit cambiar_categoria_form(QWidget* parent = nullptr);

    // catDlgCategory holds the element's category number on the way in and
    // the chosen one on the way out; cancelling leaves it as it came.
    static void mostrar(QWidget* parent);

private:
    void Form_Load();
    void aceptar_Click();

    QComboBox* Combo1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
