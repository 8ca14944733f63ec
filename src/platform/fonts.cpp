// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QHash>
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <optional>

namespace vitrandel::platform {
namespace {

// Windows bitmap faces ship outside the system's font path.
const char* const kWineFontDir = "/usr/share/wine/fonts";

// Faces Windows listings name most; the chooser offers each one that
// fontconfig can draw, so a listing made here keeps names Windows knows.
const char* const kWindowsFaces[] = {
    "Arial", "Arial Narrow", "Calibri", "Cambria", "Courier New", "Georgia", "Times New Roman",
};

const char* const kFallbackFace = "Fixedsys";

// The face the windows' captions are drawn in, and its file among them.
const char* const kDesignFace = "MS Sans Serif";
const char* const kDesignFaceFile = "ms_sans_serif.ttf";

// Outline faces drawn in place of a bitmap face beyond 1x, chosen for metrics:
// Tahoma is the design face's own outline sibling (8 points of each set a
// caption within a few per cent of the same width), and Courier New's stand-in
// has Fixedsys's cell (10 points: 8 by 15 pixels against its 7.8 by 15).
struct OutlineSibling {
    const char* bitmap;
    const char* outline;
};
const OutlineSibling kOutlineSiblings[] = {
    {"MS Sans Serif", "Tahoma"}, {"Small Fonts", "Tahoma"},  {"System", "Tahoma"},
    {"Fixedsys", "Courier New"}, {"Courier", "Courier New"},
};
const char* const kOutlineFiles[] = {"tahoma.ttf", "tahomabd.ttf"};

// Files already handed to Qt, by name; -1 marks one Qt refused.
QHash<QString, int>& registeredFiles() {
    static QHash<QString, int> files;
    return files;
}

int registerWineFont(const QString& file) {
    auto& files = registeredFiles();
    if (const auto it = files.constFind(file); it != files.constEnd())
        return *it;
    const int id = QFontDatabase::addApplicationFont(QDir(QString::fromLatin1(kWineFontDir)).filePath(file));
    files.insert(file, id);
    return id;
}

// Registering every Windows face costs a first paint several milliseconds:
// it happens when something first asks about a face, not at start.
void registerWineFonts() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QDir dir(QString::fromLatin1(kWineFontDir));
    const QStringList files = dir.entryList({QStringLiteral("*.ttf")}, QDir::Files);
    for (const QString& file : files) {
        if (file.contains(QStringLiteral("_jp")))
            continue;
        registerWineFont(file);
    }
}

// Qt names a family found at several foundries "C059 [urw]"; descriptions
// name the family alone.
QString withoutFoundry(const QString& qtFamily) {
    const qsizetype bracket = qtFamily.indexOf(QStringLiteral(" ["));
    return bracket > 0 && qtFamily.endsWith(QLatin1Char(']')) ? qtFamily.left(bracket) : qtFamily;
}

// Qt's families once every Windows face is registered; fonts are not
// installed while the program runs, so the list is read once.
const QStringList& qtFamilies() {
    static const QStringList families = [] {
        registerWineFonts();
        QStringList all;
        for (const QString& f : QFontDatabase::families())
            all.append(withoutFoundry(f));
        all.removeDuplicates();
        return all;
    }();
    return families;
}

QString fromFc(const FcChar8* s) { return QString::fromUtf8(reinterpret_cast<const char*>(s)); }

// The family fontconfig draws `face` in when that is the face itself or one it
// declares the same face (binding "same", as its metric aliases are); empty
// when it would only fall back to some other face.
QString fontconfigFamily(const QString& face) {
    const QByteArray utf8 = face.toUtf8();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    QStringList sameFace;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i)
        if (binding != FcValueBindingWeak && value.type == FcTypeString)
            sameFace.append(fromFc(value.u.s));

    QString found;
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* family = nullptr;
        for (int i = 0; found.isEmpty() && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            if (sameFace.contains(fromFc(family), Qt::CaseInsensitive))
                found = fromFc(family);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

// Lower-cased face -> family to draw it in, empty when not installed. Fonts
// are not installed while the program runs, so each answer holds for the run.
QString drawableFamily(const QString& face) {
    static QHash<QString, QString> answers;
    const QString key = face.toLower();
    if (const auto it = answers.constFind(key); it != answers.constEnd())
        return *it;
    QString family;
    // Qt's own list also holds the faces registered above, wherever fontconfig keeps them.
    for (const QString& f : qtFamilies())
        if (f.compare(face, Qt::CaseInsensitive) == 0) {
            family = f;
            break;
        }
    if (family.isEmpty() && !face.isEmpty())
        family = fontconfigFamily(face);
    answers.insert(key, family);
    return family;
}

QStringList readFonts() {
    QStringList faces = qtFamilies();
    for (const char* windowsFace : kWindowsFaces) {
        const QString face = QString::fromLatin1(windowsFace);
        if (!faces.contains(face, Qt::CaseInsensitive) && !drawableFamily(face).isEmpty())
            faces.append(face);
    }
    faces.removeDuplicates();
    std::sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return faces;
}

bool isBitmapOnly(const QString& family) {
    static QHash<QString, bool> answers;
    if (const auto it = answers.constFind(family); it != answers.constEnd())
        return *it;
    const bool bitmap =
        QFontDatabase::hasFamily(family) && !QFontDatabase::isSmoothlyScalable(family);
    answers.insert(family, bitmap);
    return bitmap;
}

QString outlineSibling(const QString& family) {
    QString sibling = QFontDatabase::isFixedPitch(family) ? QStringLiteral("Courier New")
                                                          : QStringLiteral("Tahoma");
    for (const auto& s : kOutlineSiblings)
        if (family.compare(QLatin1String(s.bitmap), Qt::CaseInsensitive) == 0)
            sibling = QString::fromLatin1(s.outline);
    // Tahoma directly from its files, so that a start at 2x registers no other face.
    if (sibling == u"Tahoma") {
        bool registered = true;
        for (const char* file : kOutlineFiles)
            registered = registerWineFont(QString::fromLatin1(file)) >= 0 && registered;
        if (registered)
            return sibling;
    }
    return faceToDraw(sibling.toStdString());
}

qreal ratioOfText = 1;

} // namespace

qreal textRatio() { return ratioOfText; }

void setTextRatio(qreal ratio) { ratioOfText = ratio; }

QFont crispFont(QFont font, qreal ratio) {
    if (qFuzzyCompare(ratio, 1.0))
        return font;
    const QString family = font.family();
    if (isBitmapOnly(family))
        font.setFamily(outlineSibling(family));
    return font;
}

QFont elementFont(QFont base, const Element& e, qreal ratio) {
    // A face this machine lacks is drawn in Fixedsys; the element keeps its name.
    base.setFamily(faceToDraw(e.fontName));
    if (e.fontSize > 0)
        base.setPointSize(e.fontSize);
    base.setBold(isTrue(e.fontBold));
    base.setItalic(isTrue(e.fontItalic));
    return crispFont(base, ratio);
}

void readFontConfiguration() { FcInit(); }

QString loadDesignFace() {
    if (registerWineFont(QString::fromLatin1(kDesignFaceFile)) < 0)
        return {};
    return QString::fromLatin1(kDesignFace);
}

const QStringList& installedFonts() {
    static std::optional<QStringList> faces;
    if (!faces)
        faces = readFonts();
    return *faces;
}

bool fuente_no_instalada(const std::string& name) {
    return drawableFamily(QString::fromStdString(name)).isEmpty();
}

QString faceToDraw(const std::string& name) {
    const QString family = drawableFamily(QString::fromStdString(name));
    return family.isEmpty() ? QString::fromLatin1(kFallbackFace) : family;
}

} // namespace vitrandel::platform
