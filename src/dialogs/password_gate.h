// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace vitrandel {

// Run before every protected editing command; the command goes on only when
// this is true. With protection on it asks for the password and passes when
// the prompt was accepted with exactly the listing's password. A cancelled
// prompt never passes, whatever was accepted earlier.
bool password_gate(QWidget* parent);

} // namespace vitrandel
