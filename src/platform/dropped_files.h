// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// Files and folders dragged onto a window from a file manager.
namespace vitrandel::platform {

// The local files and folders a drag carries; empty when it carries anything else.
QStringList droppedPaths(const QMimeData* data);

// The listing a drop stands for: one listing file, or one folder that holds
// one (see discListing). Empty otherwise.
QString droppedListing(const QStringList& paths);

} // namespace vitrandel::platform
