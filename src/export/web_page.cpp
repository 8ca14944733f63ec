// SPDX-License-Identifier: GPL-2.0-or-later
#include "export/web_page.h"

#include <QStringList>
#include <QUrl>

#include "export/element_style.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {
namespace {

// The description area's picture frame (2055 by 1575 twips), which a fitted
// picture fills and a natural one is cut to.
const int kFrameWidth = platform::twips(2055);
const int kFrameHeight = platform::twips(1575);

// No "<" or "&" in here: the style sheet must also read as XML text.
const char* const kStyleSheet = R"(
body { margin: 0; font-family: sans-serif; background: #eef0f3; color: #1d2430; }
header { background: #24476b; color: #fff; padding: 1em 2rem; }
h1 { margin: 0; font-size: 1.7em; font-weight: normal; }
nav { background: #fff; border-bottom: 1px solid #c9ced6; padding: .6em 2rem; }
nav ul { list-style: none; margin: 0; padding: 0; display: flex; flex-wrap: wrap; gap: .3em 1.4em; }
nav a { color: #24476b; }
nav .cuenta { color: #6b7380; font-size: .85em; }
main { padding: .5em 2rem 2em; max-width: 64em; }
section h2 { font-size: 1.25em; color: #24476b; border-bottom: 2px solid #24476b; padding-bottom: .2em; }
article { background: #fff; border: 1px solid #c9ced6; border-radius: 4px; padding: .8em 1em; margin: 0 0 1em; display: flow-root; }
article h3 { margin: 0 0 .6em; font-size: 1.05em; }
.foto { float: left; width: %1px; height: %2px; overflow: hidden; margin: 0 1em .4em 0; border: 1px solid #dde1e7; }
.foto img { display: block; border: 0; }
.texto { white-space: pre-wrap; overflow-wrap: break-word; margin: 0; }
.vacio { color: #6b7380; font-style: italic; margin: 0; }
footer { color: #6b7380; font-size: .8em; padding: 0 2rem 2em; }
)";

struct Writer {
    QString out;

    Writer& operator<<(const QString& s) {
        out += s;
        return *this;
    }
    Writer& operator<<(const char* s) {
        out += QString::fromUtf8(s);
        return *this;
    }
};

QString attribute(const char* name, const QString& value) {
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), escapeHtml(value));
}

QString categoryAnchor(int category) {
    return category == 0 ? QStringLiteral("sin-clasificar") : QStringLiteral("categoria-%1").arg(category);
}

QString textStyle(const Element& e, const QPalette& palette) {
    QStringList rules{QStringLiteral("font-family: ") + cssFontFamily(e.fontName)};
    if (e.fontSize > 0)
        rules << QStringLiteral("font-size: %1pt").arg(e.fontSize);
    if (isTrue(e.fontBold))
        rules << QStringLiteral("font-weight: bold");
    if (isTrue(e.fontItalic))
        rules << QStringLiteral("font-style: italic");
    rules << QStringLiteral("color: ") + descriptionColour(e.textColor, palette).name();
    return rules.join(QStringLiteral("; "));
}

void writePicture(Writer& w, const PagePicture& picture, bool fit, const QString& alt) {
    const QString url = urlOfFile(picture.file);
    const QSize size = fit ? QSize(kFrameWidth, kFrameHeight) : picture.naturalSize;
    // The frame cuts a natural picture as the viewer does; the link shows it whole.
    w << "<div class=\"foto\"><a" << attribute("href", url) << "><img" << attribute("src", url)
      << attribute("alt", alt) << attribute("width", QString::number(size.width()))
      << attribute("height", QString::number(size.height())) << "/></a></div>\n";
}

void writeElement(Writer& w, const Element& e, int position, const std::optional<PagePicture>& picture,
                  const QPalette& palette) {
    w << "<article" << attribute("id", QStringLiteral("elemento-%1").arg(position + 1)) << ">\n"
      << "<h3>" << escapeHtml(platform::qs(e.name)) << "</h3>\n";
    if (picture)
        writePicture(w, *picture, isTrue(e.fitImage), platform::qs(e.name));
    if (!e.description.empty())
        w << "<p class=\"texto\"" << attribute("style", textStyle(e, palette)) << ">"
          << escapeHtml(plainDescription(e.description)) << "</p>\n";
    else if (e.imagePath.empty())
        w << "<p class=\"vacio\">No hay descripción</p>\n";
    w << "</article>\n";
}

} // namespace

QString escapeHtml(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default:
            // XML allows no other control characters, not even as references.
            if (c.unicode() < 0x20 && c != u'\n' && c != u'\t')
                out += u' ';
            else
                out += c;
        }
    }
    return out;
}

QString urlOfFile(const QString& relativePath) {
    QStringList parts = relativePath.split(u'/');
    for (QString& part : parts)
        part = QString::fromLatin1(QUrl::toPercentEncoding(part));
    return parts.join(u'/');
}

QByteArray webPageHtml(const Project& p, const std::vector<std::optional<PagePicture>>& pictures,
                       const QPalette& palette) {
    const int categoryCount = std::min<int>(p.categoryCount, kMaxCategories);
    const int elementCount = std::min<int>(p.elementCount, kMaxElements);
    // Listing order within each category, "Sin clasificar" last.
    const std::vector<std::vector<int>> byCategory = elementsByCategory(p);
    std::vector<int> shown;
    for (int c = 1; c <= categoryCount; ++c)
        shown.push_back(c);
    if (!byCategory[0].empty() || categoryCount == 0)
        shown.push_back(0);

    const QString title = escapeHtml(platform::qs(shownTitle(p)));
    Writer w;
    w << "<!DOCTYPE html>\n"
      << "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"es\" xml:lang=\"es\">\n"
      << "<head>\n<meta charset=\"UTF-8\"/>\n"
      << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
      << "<meta name=\"generator\" content=\"Vitrandel\"/>\n"
      << "<title>" << title << "</title>\n"
      << "<style>" << QString::fromUtf8(kStyleSheet).arg(kFrameWidth).arg(kFrameHeight)
      << "</style>\n</head>\n<body>\n"
      << "<header><h1>" << title << "</h1></header>\n"
      << "<nav><ul>\n";
    for (const int c : shown)
        w << "<li><a" << attribute("href", u'#' + categoryAnchor(c)) << ">"
          << escapeHtml(platform::qs(categoryName(p, c))) << "</a> <span class=\"cuenta\">("
          << QString::number(byCategory[static_cast<std::size_t>(c)].size()) << ")</span></li>\n";
    w << "</ul></nav>\n<main>\n";
    for (const int c : shown) {
        w << "<section" << attribute("id", categoryAnchor(c)) << ">\n"
          << "<h2>" << escapeHtml(platform::qs(categoryName(p, c))) << "</h2>\n";
        const auto& members = byCategory[static_cast<std::size_t>(c)];
        if (members.empty())
            w << "<p class=\"vacio\">No hay elementos en esta categoría.</p>\n";
        for (const int i : members) {
            const auto at = static_cast<std::size_t>(i);
            writeElement(w, p.elements[at], i, at < pictures.size() ? pictures[at] : std::nullopt,
                         palette);
        }
        w << "</section>\n";
    }
    w << "</main>\n<footer>" << QString::number(elementCount)
      << (elementCount == 1 ? " elemento" : " elementos") << ". Página creada con Vitrandel.</footer>\n"
      << "</body>\n</html>\n";
    return w.out.toUtf8();
}

} // namespace vitrandel
