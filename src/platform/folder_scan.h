// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "model/folder_fill.h"

namespace vitrandel::platform {

// The folder's files and its subfolders' files, for addFolderToProject.
// Hidden entries are left out, as the file lists leave them out; deeper
// folders are not visited. Files are read only when asked, and only as far
// as asked.
FolderScan scanFolder(const QString& folder, const std::string& listingPath);

// The folder as a listing names it: relative to the working folder, with "\"
// between folders ("" for the working folder itself). Empty optional when the
// folder lies outside the working folder.
std::optional<std::string> pathInWorkingFolder(const QString& folder);

} // namespace vitrandel::platform
