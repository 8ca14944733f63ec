// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// This system has no drive letters: the "drives" the dialogs offer are the
// file system's root and the mounted volumes. As with drives, each volume
// keeps its own current folder for the rest of the session.
namespace vitrandel::platform {

// "/" first, then every mounted volume that can hold files, without repeats.
QStringList volumeRoots();

// The volume that holds the path: the longest volume root it lies under.
QString volumeOf(const QString& path);

// The folder last opened or made current on that volume, or its root.
QString currentFolderOf(const QString& root);
void rememberFolder(const QString& folder);

// 0 when the folder can be listed, otherwise the system's error number.
int folderReadError(const QString& folder);

// Makes the folder the process's current directory and its volume's current
// folder. 0 on success, otherwise the system's error number.
int changeCurrentFolder(const QString& folder);

// An absolute, cleaned form of a folder path, relative ones taken from the
// process's current directory.
QString absoluteFolder(const QString& folder);

// Tests replace the machine's volumes with folders of their own.
class VolumeSeam {
public:
    static void setRoots(const QStringList& roots);
    static void reset();
};

} // namespace vitrandel::platform
