#include <QDialog>

#include "editor/principal.h"
#include "platform/modal.h"

namespace vitrandel {

// The description window is opened here alone: the edit commands fill the
// exchange fields before and read them back after. Until that window exists
// an empty one stands in for it, named as it will be.
void principal::openDescriptionEditor() {
    QDialog editar_desc(this);
    editar_desc.setObjectName(QStringLiteral("editar_desc"));
    platform::execModal(editar_desc);
}

} // namespace vitrandel
