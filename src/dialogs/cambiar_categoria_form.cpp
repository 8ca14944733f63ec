// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/cambiar_categoria_form.h"

#include <QComboBox>
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

cambiar_categoria_form::cambiar_categoria_form(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cambiar_categoria_form"));
    setWindowTitle(QStringLiteral("Ingrese la nueva categoría"));
    setFixedSize(twips(4170), twips(1140));
    Combo1 = place(new QComboBox(this), "Combo1", twipsRect(240, 360, 2175, 315));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(2520, 120, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(2520, 600, 1455, 375));
    aceptar->setDefault(true);
    Combo1->setFocus();

    connect(aceptar, &QPushButton::clicked, this, &cambiar_categoria_form::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &cambiar_categoria_form::reject);

    Form_Load();
}

void cambiar_categoria_form::mostrar(QWidget* parent) {
    cambiar_categoria_form dialog(parent);
    platform::execModal(dialog);
}

void cambiar_categoria_form::Form_Load() {
    platform::fillCategoryChoices(Combo1, QString::fromUtf8(kUncategorised), project());
    // A number that names no category offers "Sin clasificar".
    const int current = exchange().catDlgCategory;
    Combo1->setCurrentIndex(current >= 1 && current < Combo1->count() ? current : 0);
}

void cambiar_categoria_form::aceptar_Click() {
    exchange().catDlgCategory = static_cast<std::int16_t>(Combo1->currentIndex());
    accept();
}

} // namespace vitrandel
