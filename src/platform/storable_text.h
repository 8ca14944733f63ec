// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Text the author types, checked where it is typed against what a listing
// file can hold, so that nothing is refused later at Save.
namespace vitrandel::platform {

// As a listing holds it: an input method may type "o" and a combining accent
// for the one character "ó".
QString composed(const QString& typed);

// True when a listing can hold `text`. Otherwise says so in a message box
// that names the first character it cannot hold and the field, `subject`
// being how the sentence starts ("El nombre"), and answers false.
bool acceptStorable(const QString& text, const QString& subject);

// The sentence that message box shows.
QString unstorableMessage(const QString& subject, const QString& character);

} // namespace vitrandel::platform
