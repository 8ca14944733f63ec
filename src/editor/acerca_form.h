// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vitrandel {

// The About box.
class acerca_form : public QDialog {
    Q_OBJECT
public:
    explicit acerca_form(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* aceptar;

private:
    void Form_Load();
    void aceptar_Click();
};

} // namespace vitrandel
