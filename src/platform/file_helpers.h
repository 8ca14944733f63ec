// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// File-system tests that never report an error: every failure answers false.
namespace vitrandel::platform {

bool existe_archivo(const QString& path);
bool directorio_con_archivos(const QString& path);

// Listings write picture paths with "\"; this system separates with "/".
QString nativeRelativePath(const QString& listingPath);

// Listings and discs made on Windows spell names in any letter case, while
// discs mounted here often show them in another (Fotos\Gato.JPG against
// fotos/gato.jpg). Gives the path as it exists, looked up one component at a
// time without regard to letter case where the exact spelling is missing; the
// path unchanged when it exists as given or cannot be found either way.
QString existingPathIgnoringCase(const QString& path);

// For tests and benchmarks: how many folders that lookup has listed so far
// (each folder is listed once while it does not change).
int caseLookupListings();

// The file a description's picture path names: relative to the working
// directory, with "\" between folders, in whatever letter case the disc shows.
QString picturePath(const QString& imagePath);

} // namespace vitrandel::platform
