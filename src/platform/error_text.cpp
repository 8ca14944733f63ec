// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/error_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace vitrandel::platform {

QString errorDescription(int errnum) {
    switch (errnum) {
    case ENOENT: return QStringLiteral("No se ha encontrado el archivo");
    case ENOTDIR: return QStringLiteral("No se ha encontrado la ruta de acceso");
    case EACCES:
    case EPERM:
    case EROFS: return QStringLiteral("Permiso denegado");
    case EISDIR: return QStringLiteral("Error de acceso a la ruta o el archivo");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("Disco lleno");
    case EIO: return QStringLiteral("Error de entrada/salida de dispositivo");
    case ENAMETOOLONG: return QStringLiteral("Nombre de archivo incorrecto");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("Archivo ya abierto");
    case EEXIST: return QStringLiteral("El archivo ya existe");
    case EMFILE:
    case ENFILE: return QStringLiteral("Demasiados archivos");
    case ENOMEDIUM: return QStringLiteral("El disco no está listo");
    case EFBIG: return QStringLiteral("El archivo es demasiado grande para ser un listado");
    case EINVAL: return QStringLiteral("No es un archivo normal");
    default: return QString::fromLocal8Bit(std::strerror(errnum));
    }
}

QString errorDescription(int errnum, const QString& path) {
    if (errnum == ENOENT && !path.isEmpty() && !QFileInfo(path).dir().exists())
        return errorDescription(ENOTDIR);
    return errorDescription(errnum);
}

QString readErrorDescription(const ReadError& error) {
    switch (error.kind) {
    case ReadErrorKind::Overflow: return QStringLiteral("Desbordamiento");
    case ReadErrorKind::SubscriptOutOfRange:
        return QStringLiteral("El subíndice está fuera del intervalo");
    case ReadErrorKind::CannotOpen:
    case ReadErrorKind::Io: break;
    }
    return QString::fromStdString(error.detail);
}

} // namespace vitrandel::platform
