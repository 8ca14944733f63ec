// Kept apart from the rest of the platform layer: only the metafile helper
// process draws metafiles, so only it links the libraries that do.

#include "platform/metafile.h"

namespace vitrandel::platform {

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

} // namespace vitrandel::platform
