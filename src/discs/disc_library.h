// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

namespace vitrandel::library {
class Library;
}

// The program's side of the library of discs: where it lives, whether opened
// listings go into it, and the thread that puts them there.
namespace vitrandel::discs {

QString libraryPath();

// The options window's "Recordar en la biblioteca los listados que abro";
// on unless the user turned it off.
bool rememberOpenedListings();
void setRememberOpenedListings(bool on);

// Hands a listing just read to the library's thread, which adds it (or
// updates its entry) and then makes the thumbnails it lacks; unless the
// user asked not to remember listings. `path` may be relative to
// the current folder of the moment.
void rememberOpenedListing(const QString& path, const std::string& bytes);

// The listings last opened or added, newest first; empty when the library
// cannot be read.
QStringList recentListings(int count);

// Returns once every listing handed over so far is in the library.
void waitForLibrary();

// A connection for the calling thread; null, after saying why, when the file
// cannot be opened. A damaged file is moved aside first, and the user told.
std::unique_ptr<library::Library> openLibrary();

// What the library keeps of a picture while its disc is away: the picture,
// its longest side at most 256 pixels. Null when it cannot be decoded.
QImage makeThumbnail(const QString& picturePath);

// Where a picture named by a stored listing lies on its disc, in any letter
// case; empty when it is not there now.
QString storedPicturePath(const std::string& workingDir, const std::string& picture);

} // namespace vitrandel::discs
