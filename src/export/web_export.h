#pragma once

#include <QPalette>
#include <QString>

#include "model/project.h"

namespace vitrandel {

struct WebExportOutcome {
    bool ok = false;
    // On failure: the file or folder that could not be written and the
    // system's reason, when it gave one.
    QString failedPath;
    QString reason;
    // Elements whose picture file is missing or unreadable; the page shows
    // them without a picture, as the viewer does.
    int picturesMissing = 0;
};

// Name of the page inside the folder, and of the folder its pictures go to.
inline const char* const kWebPageName = "index.html";
inline const char* const kWebPicturesFolder = "imagenes";

// Writes `folder`/index.html and, in its "imagenes" folder, the pictures the
// page shows, found relative to the current (working) directory as the
// viewer finds them. Pictures that browsers show (JPEG, PNG, GIF) are copied
// as they are, every other kind is drawn by the program's picture loader and
// saved as PNG. Files of an earlier export with other names are left alone.
WebExportOutcome exportWebPage(const Project& p, const QString& folder, const QPalette& palette);

} // namespace vitrandel
