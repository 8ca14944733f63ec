// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QPalette>

#include "model/project.h"

namespace vitrandel {

// The elements as a UTF-8 table for spreadsheets (RFC 4180: commas, fields
// quoted when they need it, CRLF between rows), one row per element in
// listing order under a header row. Colours as the viewer draws them on a
// white text box, whatever the theme of `palette`.
QByteArray listingCsv(const Project& p, const QPalette& palette);

} // namespace vitrandel
