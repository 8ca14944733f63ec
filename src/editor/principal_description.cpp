// SPDX-License-Identifier: GPL-2.0-or-later
#include "description/editar_desc.h"
#include "editor/principal.h"
#include "platform/modal.h"

namespace vitrandel {

// The edit commands fill the exchange fields before and read them back after.
void principal::openDescriptionEditor() {
    editar_desc dialog(this);
    platform::execModal(dialog);
}

} // namespace vitrandel
