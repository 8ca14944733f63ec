// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/preguntar_password.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/project.h"
#include "platform/controls.h"
#include "platform/modal.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

preguntar_password::preguntar_password(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("preguntar_password"));
    setWindowTitle(QStringLiteral("Archivo protegido por password"));
    setFixedSize(twips(5985), twips(1170));
    Label1 = place(new QLabel(QStringLiteral("Ingrese password :"), this), "Label1",
                   twipsRect(240, 360, 1455, 255));
    Text1 = place(new QLineEdit(this), "Text1", twipsRect(1680, 360, 2415, 285));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(4320, 120, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(4320, 600, 1455, 375));
    Text1->setEchoMode(QLineEdit::Password);
    // The style would draw dots; the password shows as asterisks.
    Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    aceptar->setDefault(true);
    aceptar->setEnabled(false);
    Text1->setFocus();

    connect(Text1, &QLineEdit::textChanged, this, &preguntar_password::Text1_Change);
    connect(aceptar, &QPushButton::clicked, this, &preguntar_password::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &preguntar_password::reject);
}

bool preguntar_password::mostrar(QWidget* parent) {
    preguntar_password dialog(parent);
    return platform::execModal(dialog) == QDialog::Accepted;
}

void preguntar_password::Text1_Change() {
    aceptar->setEnabled(!Text1->text().isEmpty());
}

void preguntar_password::aceptar_Click() {
    exchange().enteredPassword = platform::ss(Text1->text());
    accept();
}

} // namespace vitrandel
