// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/preguntar_nombre.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/project.h"
#include "platform/controls.h"
#include "platform/modal.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

preguntar_nombre::preguntar_nombre(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("preguntar_nombre"));
    setWindowTitle(QStringLiteral("Ingrese el nombre del elemento..."));
    setFixedSize(twips(5505), twips(1290));
    Label1 = place(new QLabel(QStringLiteral("Nombre :"), this), "Label1",
                   twipsRect(240, 240, 2775, 255));
    Text1 = place(new QLineEdit(this), "Text1", twipsRect(960, 240, 2775, 285));
    Combo1 = place(new QComboBox(this), "Combo1", twipsRect(1200, 720, 2535, 315));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(3960, 240, 1335, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(3960, 720, 1335, 375));
    Label2 = place(new QLabel(QStringLiteral("Categoría :"), this), "Label2",
                   twipsRect(240, 720, 975, 255));
    aceptar->setDefault(true);
    aceptar->setEnabled(false);
    setTabOrder(Text1, Combo1);
    setTabOrder(Combo1, aceptar);
    setTabOrder(aceptar, cancelar);
    Text1->setFocus();

    connect(Text1, &QLineEdit::textChanged, this, &preguntar_nombre::Text1_Change);
    connect(aceptar, &QPushButton::clicked, this, &preguntar_nombre::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &preguntar_nombre::reject);

    Form_Load();
    platform::centerOnScreen(this);
}

void preguntar_nombre::mostrar(QWidget* parent) {
    preguntar_nombre dialog(parent);
    platform::execModal(dialog);
}

void preguntar_nombre::Form_Load() {
    platform::fillCategoryChoices(Combo1, QString::fromUtf8(kUncategorised), project());
    Combo1->setCurrentIndex(0);
}

// A name of blanks is a name: nothing is trimmed.
void preguntar_nombre::Text1_Change() {
    aceptar->setEnabled(!Text1->text().isEmpty());
}

void preguntar_nombre::aceptar_Click() {
    const QString name = platform::composed(Text1->text());
    if (!platform::acceptStorable(name, QStringLiteral("El nombre")))
        return;
    ExchangeFields& x = exchange();
    x.nameDlgName = platform::ss(name);
    x.nameDlgCategory = static_cast<std::int16_t>(Combo1->currentIndex());
    project().modified = kTrue;
    accept();
}

// Otherwise the close box would leave the previous name for the caller to add.
void preguntar_nombre::reject() {
    ExchangeFields& x = exchange();
    x.nameDlgName.clear();
    x.nameDlgCategory = -1;
    QDialog::reject();
}

} // namespace vitrandel
