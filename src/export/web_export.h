// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPalette>
#include <QString>
#include <QStringList>

#include "model/project.h"

namespace vitrandel {

struct WebExportOutcome {
    bool ok = false;
    // On failure: the file or folder that could not be written and the
    // system's error number (ELOOP: a link stood where a folder must be).
    QString failedPath;
    int errnum = 0;
    // Elements whose picture file is missing or unreadable; the page shows
    // them without a picture, as the viewer does.
    int picturesMissing = 0;
    // Pictures left out because they lie outside the listing's folders, as
    // the listing names them; their elements are shown without them.
    QStringList picturesOutside;
};

// Name of the page inside the folder, and of the folder its pictures go to.
inline const char* const kWebPageName = "index.html";
inline const char* const kWebPicturesFolder = "imagenes";

// Writes `folder`/index.html and, in its "imagenes" folder, the pictures the
// page shows, found relative to the current (working) directory as the
// viewer finds them; only those inside the listing's folders (see
// platform::pictureRoots) are taken. Pictures that browsers show (JPEG, PNG,
// GIF) are copied as they are, every other kind is drawn by the program's
// picture loader and saved as PNG. Files of an earlier export with other
// names are left alone; links in the folder are replaced, never written
// through, and a link in place of "imagenes" is refused.
WebExportOutcome exportWebPage(const Project& p, const QString& folder, const QPalette& palette);

} // namespace vitrandel
