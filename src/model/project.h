// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Texts are held as UTF-8 in memory; the listing file's Windows-1252 is
// handled only where bytes meet the file (cp1252.h).
namespace vitrandel {

constexpr int kMaxCategories = 51;
constexpr int kMaxElements = 256;
constexpr int kMaxFileFilters = 51;

// 16-bit booleans as the file and the dialogs exchange them.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

// The window-background system colour that negative colours become on reading.
constexpr std::int32_t kWindowBackgroundColor = static_cast<std::int32_t>(0x80000005u);

// The face and size a description takes when it has none that can be shown.
constexpr const char* kFallbackFontName = "Fixedsys";
constexpr std::int16_t kFallbackFontSize = 10;

struct Element {
    std::string name;
    std::string description;
    std::string imagePath;
    std::int16_t fitImage = 0;
    std::int16_t category = 0;
    std::string fontName;
    std::int16_t fontSize = 0;
    std::int16_t fontBold = 0;
    std::int16_t fontItalic = 0;
    std::int32_t textColor = 0;

    bool operator==(const Element&) const = default;
};

// Everything a listing file holds besides its elements, declared once so
// that undo, which keeps these as one snapshot, cannot miss a new one.
struct ListingSettings {
    std::string title;
    std::string password;
    std::int16_t passwordEnabled = kFalse;
    std::int16_t locked = kFalse;
    std::int16_t useCurrentDir = kTrue;
    std::array<std::string, kMaxCategories> categories{};
    std::int16_t categoryCount = 0;
    // "ruta actual=" as read while that folder cannot be entered on this
    // machine; saving writes it back unchanged until a folder is chosen.
    std::string unreachableWorkingDir;

    bool operator==(const ListingSettings&) const = default;
};

// A new setting of the listing goes in ListingSettings, not here.
struct Project : ListingSettings {
    std::array<Element, kMaxElements> elements{};
    std::int16_t elementCount = 0;
    std::int16_t modified = kFalse;
    std::string listingPath;

    bool operator==(const Project&) const = default;
};

// Values carried into and out of the modal dialogs.
struct ExchangeFields {
    std::string nameDlgName;
    std::int16_t nameDlgCategory = -1;
    std::string enteredPassword;
    std::int16_t catDlgCategory = 0;
    std::string dirDlgStart;
    std::string fileDlgCaption;
    std::array<std::string, kMaxFileFilters> fileDlgFilters{};
    std::int16_t fileDlgMode = 0;
    std::string fileDlgFileName;
    std::string fileDlgResult;
    std::string descText;
    std::string descImagePath;
    std::int16_t descFitImage = 0;
    std::string descFontName;
    std::int16_t descFontSize = 0;
    std::int16_t descFontBold = 0;
    std::int16_t descFontItalic = 0;
    std::int32_t descTextColor = 0;
    std::string fontDlgName;
    std::int16_t fontDlgSize = 0;
    std::int16_t fontDlgStyle = 0;
};

// The one Project and exchange record every window shares.
Project& project();
ExchangeFields& exchange();

// A new element owes nothing to what an earlier one left in its slot.
Element newElement(const std::string& name, std::int16_t category);

// What the viewer shows for a listing without a title, and the entry that
// holds elements outside every category.
constexpr const char* kUntitledListing = "Indice de este CD";
constexpr const char* kUncategorised = "Sin clasificar";

// The title as the viewer's caption shows it.
std::string shownTitle(const Project& p);

// The name of the category an element number names; kUncategorised for 0
// and for a number that names no category, as the viewer lists such
// elements only there.
std::string categoryName(const Project& p, int category);

// The category an element is listed under: its own when that names one of
// the listing's categories, else 0, with the elements that have none.
int listedCategory(const Project& p, const Element& e);

// The positions of the elements listed under each category, in listing
// order; entry 0 holds those listed under kUncategorised.
std::vector<std::vector<int>> elementsByCategory(const Project& p);

// The filter test of both windows' element lists: entry 0 lists everything.
inline bool listedUnder(const Element& e, int entry) { return entry == 0 || e.category == entry; }

// The description editor works on the exchange fields: the element's
// description goes in before and comes back after.
void putDescription(const Element& e, ExchangeFields& x);
void takeDescription(const ExchangeFields& x, Element& e);

// Style code: bold counts 1, italic 2.
std::int16_t styleCode(std::int16_t bold, std::int16_t italic);
void applyStyleCode(std::int16_t& bold, std::int16_t& italic, double code);
std::int16_t styleCode(const Element& e);
void applyStyleCode(Element& e, double code);

inline bool isTrue(std::int16_t b) { return b != 0; }
inline std::int16_t toBool16(bool b) { return b ? kTrue : kFalse; }

} // namespace vitrandel
