// SPDX-License-Identifier: GPL-2.0-or-later
// Kept apart from the program's side of pictures: only the picture process
// draws metafiles, so only it links the libraries that do.

#include "pictures/metafile.h"

namespace vitrandel::pictures {

QImage renderMetafile(const QByteArray& bytes, const PictureRequest& request, QString* note) {
    if (bytes.size() > metafile::kMaxFileBytes)
        return {};
    QString ignored;
    QString& said = note ? *note : ignored;
    switch (metafileKind(bytes)) {
    case MetafileKind::Wmf:
        return metafile::renderWmf(bytes, request, said);
    case MetafileKind::Emf:
        return metafile::renderEmf(bytes, request, said);
    case MetafileKind::None:
        break;
    }
    return {};
}

} // namespace vitrandel::pictures
