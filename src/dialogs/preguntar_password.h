// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vitrandel {

// Asks for the listing's password; comparing it is the caller's business
// (see password_gate.h).
class preguntar_password : public QDialog {
    Q_OBJECT
public:
    explicit preguntar_password(QWidget* parent = nullptr);

    // True when the prompt was accepted; the typed text is then in
    // enteredPassword. A cancelled prompt leaves enteredPassword alone.
    static bool mostrar(QWidget* parent);

private:
    void Text1_Change();
    void aceptar_Click();

    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
