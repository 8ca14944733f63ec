// SPDX-License-Identifier: GPL-2.0-or-later
#include "export/listing_csv.h"

#include <QRegularExpression>
#include <QStringList>

#include "export/element_style.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

bool isPlainNumber(const QString& value) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+([.,][0-9]+)?$"));
    return number.match(value).hasMatch();
}

// A spreadsheet takes a cell that starts with one of these as a formula (or,
// with a tab or a return, as one after them): such a cell starts with an
// apostrophe, which the spreadsheet shows as text. A plain negative number
// is no formula and stays a number.
QString neutralised(const QString& value) {
    static const QString starts = QStringLiteral("=+-@\t\r");
    if (value.isEmpty() || !starts.contains(value.front()) || isPlainNumber(value))
        return value;
    return u'\'' + value;
}

QString field(const QString& raw) {
    const QString value = neutralised(raw);
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') &&
        !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString yesNo(std::int16_t flag) { return isTrue(flag) ? QStringLiteral("sí") : QStringLiteral("no"); }

} // namespace

QByteArray listingCsv(const Project& p, const QPalette& palette) {
    const QPalette page = pagePalette(palette);
    QString out = QStringLiteral(
        "nombre,categoría,descripción,imagen,fuente,tamaño,negrita,cursiva,color,ajustar\r\n");
    const int count = std::min<int>(p.elementCount, kMaxElements);
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        const QStringList row{
            platform::qs(e.name),
            platform::qs(categoryName(p, e.category)),
            plainDescription(e.description),
            platform::qs(e.imagePath),
            platform::qs(e.fontName),
            QString::number(e.fontSize),
            yesNo(e.fontBold),
            yesNo(e.fontItalic),
            descriptionColour(e.textColor, page).name(),
            yesNo(e.fitImage),
        };
        QStringList fields;
        for (const QString& value : row)
            fields << field(value);
        out += fields.join(u',') + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

} // namespace vitrandel
