// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/acerca_form.h"

#include <QLabel>
#include <QPushButton>

#include "platform/controls.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

acerca_form::acerca_form(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("acerca_form"));
    setWindowTitle(QStringLiteral(" Acerca de "));
    setFixedSize(twips(4815), twips(2895));
    Label1 = place(new QLabel(this), "Label1", twipsRect(1200, 360, 2415, 255));
    Label2 = place(new QLabel(QStringLiteral("Índice del contenido de un disco"), this), "Label2",
                   twipsRect(840, 840, 3135, 255));
    Label3 = place(new QLabel(QStringLiteral("Versión " VITRANDEL_VERSION), this), "Label3",
                   twipsRect(1320, 1440, 2175, 255));
    // Free software must say so where its users look.
    Label4 = place(new QLabel(QStringLiteral("Licencia: GNU GPL versión 2 o posterior"), this),
                   "Label4", twipsRect(240, 1800, 4335, 255));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(1320, 2280, 2175, 375));
    for (QLabel* l : {Label1, Label2, Label3, Label4})
        l->setAlignment(Qt::AlignCenter);
    aceptar->setDefault(true);
    connect(aceptar, &QPushButton::clicked, this, &acerca_form::aceptar_Click);
    Form_Load();
}

void acerca_form::Form_Load() {
    setWindowTitle(windowTitle() + QStringLiteral("Vitrandel"));
    Label1->setText(QStringLiteral("Vitrandel"));
}

void acerca_form::aceptar_Click() { accept(); }

} // namespace vitrandel
