// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/opciones_form.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "discs/disc_library.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/modal.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

opciones_form::opciones_form(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("opciones_form"));
    setWindowTitle(QStringLiteral("Opciones"));
    setFixedSize(twips(5775), twips(3105));
    Check1 = place(
        new QCheckBox(QStringLiteral("Impedir futuras modificaciones (no se volverá a preguntar)"),
                      this),
        "Check1", twipsRect(360, 480, 5055, 255));
    Check2 = place(new QCheckBox(QStringLiteral("Protegido por password"), this), "Check2",
                   twipsRect(360, 960, 2175, 255));
    Text1 = place(new QLineEdit(this), "Text1", twipsRect(2520, 960, 2535, 285));
    // A setting of the program, not of the listing: kept apart from it.
    recordar_biblioteca =
        place(new QCheckBox(QStringLiteral("Recordar en la biblioteca los listados que abro"), this),
              "recordar_biblioteca", twipsRect(360, 2640, 5055, 255));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(4200, 1560, 1455, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(4200, 2040, 1455, 375));
    Check1->setEnabled(false);
    Text1->setEchoMode(QLineEdit::Password);
    // The style would draw dots; the password shows as asterisks.
    Text1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    aceptar->setDefault(true);

    connect(Check2, &QCheckBox::toggled, this, &opciones_form::Check2_Click);
    connect(aceptar, &QPushButton::clicked, this, &opciones_form::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &opciones_form::reject);

    Form_Load();
}

void opciones_form::mostrar(QWidget* parent) {
    opciones_form dialog(parent);
    platform::execModal(dialog);
}

void opciones_form::Form_Load() {
    const Project& p = project();
    Check2->setChecked(isTrue(p.passwordEnabled));
    // The box is greyed whenever protection is off, from the start too, so
    // that it never looks as if the password were in force.
    Check2_Click();
    Check1->setChecked(isTrue(p.locked));
    Text1->setText(platform::qs(p.password));
    recordar_biblioteca->setChecked(discs::rememberOpenedListings());
}

void opciones_form::Check2_Click() {
    Text1->setEnabled(Check2->isChecked());
}

void opciones_form::aceptar_Click() {
    Project& p = project();
    const std::string password = platform::ss(Text1->text());
    const std::int16_t enabled = toBool16(Check2->isChecked());
    const std::int16_t locked = toBool16(Check1->isChecked());
    // These settings are saved with the listing: a change is unsaved work.
    if (password != p.password || enabled != p.passwordEnabled || locked != p.locked)
        p.modified = kTrue;
    p.password = password;
    p.passwordEnabled = enabled;
    p.locked = locked;
    discs::setRememberOpenedListings(recordar_biblioteca->isChecked());
    accept();
}

} // namespace vitrandel
