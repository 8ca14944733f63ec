// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vitrandel {

// Asks for a new element's name and category. Whether the name may be used
// is the caller's business.
class preguntar_nombre : public QDialog {
    Q_OBJECT
public:
    explicit preguntar_nombre(QWidget* parent = nullptr);

    // Afterwards nameDlgName holds the name as typed and nameDlgCategory the
    // category number chosen; an empty name and -1 when the user cancelled.
    static void mostrar(QWidget* parent);

    // Cancelar, Escape and the close box all end here.
    void reject() override;

private:
    void Form_Load();
    void Text1_Change();
    void aceptar_Click();

    QLabel* Label1;
    QLineEdit* Text1;
    QComboBox* Combo1;
    QPushButton* aceptar;
    QPushButton* cancelar;
    QLabel* Label2;
};

} // namespace vitrandel
