// SPDX-License-Identifier: GPL-2.0-or-later
#include "export/element_style.h"

#include "platform/colors.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

struct StandIn {
    const char* face;
    const char* standIn;
};

// The metric-compatible faces the program's package installs for these.
constexpr StandIn kStandIns[] = {
    {"arial", "Liberation Sans"},         {"arial narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"}, {"courier new", "Liberation Mono"},
    {"calibri", "Carlito"},               {"cambria", "Caladea"},
};

bool containsAny(const QString& text, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (text.contains(QLatin1String(w)))
            return true;
    return false;
}

QString genericFamily(const QString& lowerFace) {
    if (containsAny(lowerFace, {"courier", "mono", "fixedsys", "console", "consolas", "terminal",
                                "typewriter"}))
        return QStringLiteral("monospace");
    if (containsAny(lowerFace, {"sans"}))
        return QStringLiteral("sans-serif");
    if (containsAny(lowerFace, {"times", "serif", "roman", "georgia", "garamond", "cambria",
                                "palatino", "book", "century", "bodoni", "caladea"}))
        return QStringLiteral("serif");
    if (containsAny(lowerFace, {"comic", "script", "brush", "hand"}))
        return QStringLiteral("cursive");
    return QStringLiteral("sans-serif");
}

// A CSS string that no face name can end: letters, digits, blanks and
// hyphens stand as they are, every other character is written as its CSS
// escape (a backslash, its code in hexadecimal and a blank), so that neither
// a quote, a line break nor a semicolon closes the string or the rule.
QString cssString(const QString& text) {
    QString out = QStringLiteral("'");
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'-') {
            out += c;
        } else if (c.isSurrogate()) {
            // Half of a pair has no code point of its own to escape.
            out += QStringLiteral("\\FFFD ");
        } else {
            // U+0000 is no character in CSS; its escape stands for U+FFFD anyway.
            out += u'\\' + QString::number(c.unicode() == 0 ? 0xFFFD : c.unicode(), 16).toUpper() + u' ';
        }
    }
    return out + u'\'';
}

} // namespace

QColor descriptionColour(std::int32_t value, const QPalette& palette) {
    const QColor colour = platform::colorFromListing(value, palette);
    if (colour.rgb() == palette.color(QPalette::Active, QPalette::Base).rgb())
        return palette.color(QPalette::Active, QPalette::Text);
    return colour;
}

QPalette pagePalette(const QPalette& system) {
    QPalette page = system;
    page.setColor(QPalette::Base, Qt::white);
    page.setColor(QPalette::Text, Qt::black);
    return page;
}

QString cssFontFamily(const std::string& face) {
    QString name = platform::qs(face).trimmed();
    if (name.isEmpty())
        name = QString::fromLatin1(kFallbackFontName);
    const QString lower = name.toLower();
    QStringList families{cssString(name)};
    for (const StandIn& s : kStandIns)
        if (lower == QLatin1String(s.face))
            families << cssString(QString::fromLatin1(s.standIn));
    families << genericFamily(lower);
    return families.join(QStringLiteral(", "));
}

QString plainDescription(const std::string& text) {
    QString out = platform::qs(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar& c : out) {
        if (c == u'\r')
            c = u'\n';
        else if (c.unicode() < 0x20 && c != u'\n' && c != u'\t')
            c = u' ';
    }
    return out;
}

} // namespace vitrandel
