// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Opening a listing as the user does: read into the Project, then remembered
// among the recent listings and in the library of discs.
namespace vitrandel::discs {

// Replaces the Project only when the whole file was read; on failure it shows
// the error and leaves the Project exactly as it was. True on success.
bool cargar_listado(const QString& path);

} // namespace vitrandel::discs
