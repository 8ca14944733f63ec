#include "platform/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QSet>
#include <optional>

namespace vitrandel::platform {
namespace {

// Windows bitmap faces ship outside the system's font path.
const char* const kWineFontDir = "/usr/share/wine/fonts";

// Faces that fontconfig substitutes with metric-compatible ones; hasFamily()
// does not report aliases, so each is listed when its stand-in is present.
struct Substitute {
    const char* windowsFace;
    const char* standIn;
};
const Substitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

void loadWineFonts() {
    const QDir dir(QString::fromLatin1(kWineFontDir));
    const QStringList files = dir.entryList({QStringLiteral("*.ttf")}, QDir::Files);
    for (const QString& file : files) {
        if (file.contains(QStringLiteral("_jp")))
            continue;
        QFontDatabase::addApplicationFont(dir.filePath(file));
    }
}

std::optional<QStringList>& cache() {
    static std::optional<QStringList> c;
    return c;
}

QStringList readFonts() {
    loadWineFonts();
    QStringList families = QFontDatabase::families();
    QSet<QString> known;
    for (const QString& f : families)
        known.insert(f.toLower());
    for (const Substitute& s : kSubstitutes) {
        const QString face = QString::fromLatin1(s.windowsFace);
        if (!known.contains(face.toLower()) &&
            known.contains(QString::fromLatin1(s.standIn).toLower())) {
            families.append(face);
            known.insert(face.toLower());
        }
    }
    return families;
}

} // namespace

const QStringList& installedFonts() {
    if (!cache())
        cache() = readFonts();
    return *cache();
}

bool fuente_no_instalada(const std::string& name) {
    if (name.empty())
        return true;
    const QString wanted = QString::fromStdString(name);
    for (const QString& f : installedFonts())
        if (f.compare(wanted, Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

} // namespace vitrandel::platform
