#pragma once

#include <QString>

// File-system tests that never report an error: every failure answers false.
namespace vitrandel::platform {

bool existe_archivo(const QString& path);
bool directorio_con_archivos(const QString& path);

// Listings write picture paths with "\"; this system separates with "/".
QString nativeRelativePath(const QString& listingPath);

} // namespace vitrandel::platform
