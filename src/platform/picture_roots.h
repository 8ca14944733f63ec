// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vitrandel {
struct Project;
}

// Which pictures may leave the machine in a page or on paper. A listing
// names its pictures by path, and a stranger's listing may name any file:
// only those whose real path (links and ".." resolved) lies inside the
// listing's own folder, or inside the working folder the user is in, go out.
namespace vitrandel::platform {

// The folders, resolved. The working folder counts unless the listing itself
// recorded it and it lies outside the listing's folder: a listing may record
// "/" as its working folder, which would let it name anything.
QStringList pictureRoots(const Project& p);

// Whether `path`, resolved, lies inside one of the resolved `roots`.
bool liesInside(const QString& path, const QStringList& roots);

} // namespace vitrandel::platform
