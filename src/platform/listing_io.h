// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>

// Reading and writing the program's listing: file, message boxes, current
// directory and fonts around the model's pure reader and writer.
namespace vitrandel::platform {

// Replaces the Project only when the whole file was read; on failure it shows
// the error and leaves the Project exactly as it was. The bytes read, for the
// library of discs to keep (discs::cargar_listado hands them over).
std::optional<std::string> readListingFile(const QString& path);
// The same for a listing's bytes held elsewhere; `path` names it in messages.
// The Project's listingPath is left as it was.
bool loadListing(const std::string& bytes, const QString& path);

// Never leaves a half-written listing: the old file survives any failure.
bool guardar_listado(const QString& path);

// What the next save records as the working folder ("ruta actual=").
std::string workingDirToRecord();

} // namespace vitrandel::platform
