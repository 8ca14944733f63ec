// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/password_gate.h"

#include "dialogs/preguntar_password.h"
#include "model/project.h"

namespace vitrandel {

bool password_gate(QWidget* parent) {
    if (!isTrue(project().passwordEnabled))
        return true;
    // The prompt cannot accept an empty password, so a listing protected by
    // one would lock every command, Options included, for good.
    if (project().password.empty())
        return true;
    if (!preguntar_password::mostrar(parent))
        return false;
    return project().password == exchange().enteredPassword;
}

} // namespace vitrandel
