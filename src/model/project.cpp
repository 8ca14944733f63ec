// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/project.h"

#include <algorithm>

namespace vitrandel {

Project& project() {
    static Project instance;
    return instance;
}

ExchangeFields& exchange() {
    static ExchangeFields instance;
    return instance;
}

Element newElement(const std::string& name, std::int16_t category) {
    return Element{.name = name,
                   .category = category,
                   .fontName = kFallbackFontName,
                   .fontSize = kFallbackFontSize};
}

std::int16_t styleCode(std::int16_t bold, std::int16_t italic) {
    return static_cast<std::int16_t>((isTrue(bold) ? 1 : 0) + (isTrue(italic) ? 2 : 0));
}

void applyStyleCode(std::int16_t& bold, std::int16_t& italic, double code) {
    bold = toBool16(code == 1 || code == 3);
    italic = toBool16(code == 2 || code == 3);
}

std::int16_t styleCode(const Element& e) { return styleCode(e.fontBold, e.fontItalic); }

void applyStyleCode(Element& e, double code) { applyStyleCode(e.fontBold, e.fontItalic, code); }

std::string shownTitle(const Project& p) { return p.title.empty() ? kUntitledListing : p.title; }

namespace {
bool namesCategory(const Project& p, int category) {
    return category >= 1 && category <= std::min<int>(p.categoryCount, kMaxCategories);
}
} // namespace

std::string categoryName(const Project& p, int category) {
    if (!namesCategory(p, category))
        return kUncategorised;
    return p.categories[static_cast<std::size_t>(category - 1)];
}

int listedCategory(const Project& p, const Element& e) { return namesCategory(p, e.category) ? e.category : 0; }

std::vector<std::vector<int>> elementsByCategory(const Project& p) {
    std::vector<std::vector<int>> groups(static_cast<std::size_t>(std::min<int>(p.categoryCount, kMaxCategories)) + 1);
    const int count = std::min<int>(p.elementCount, kMaxElements);
    for (int i = 0; i < count; ++i)
        groups[static_cast<std::size_t>(listedCategory(p, p.elements[static_cast<std::size_t>(i)]))].push_back(i);
    return groups;
}

void putDescription(const Element& e, ExchangeFields& x) {
    x.descText = e.description;
    x.descImagePath = e.imagePath;
    x.descFitImage = e.fitImage;
    x.descFontName = e.fontName;
    x.descFontSize = e.fontSize;
    x.descFontBold = e.fontBold;
    x.descFontItalic = e.fontItalic;
    x.descTextColor = e.textColor;
}

void takeDescription(const ExchangeFields& x, Element& e) {
    e.description = x.descText;
    e.imagePath = x.descImagePath;
    e.fitImage = x.descFitImage;
    e.fontName = x.descFontName;
    e.fontSize = x.descFontSize;
    e.fontBold = x.descFontBold;
    e.fontItalic = x.descFontItalic;
    e.textColor = x.descTextColor;
}

} // namespace vitrandel
