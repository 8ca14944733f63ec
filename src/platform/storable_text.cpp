// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/storable_text.h"

#include "model/listing_text.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace vitrandel::platform {

QString composed(const QString& typed) { return typed.normalized(QString::NormalizationForm_C); }

QString unstorableMessage(const QString& subject, const QString& character) {
    return QStringLiteral("%1 contiene \"%2\", que el listado no puede guardar.").arg(subject, character);
}

bool acceptStorable(const QString& text, const QString& subject) {
    const auto character = unstorableCharacter(ss(text));
    if (!character)
        return true;
    msgBox(unstorableMessage(subject, qs(*character)), vbOKOnly + vbExclamation);
    return false;
}

} // namespace vitrandel::platform
