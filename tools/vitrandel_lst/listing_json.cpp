// SPDX-License-Identifier: GPL-2.0-or-later
#include "listing_json.h"

#include <cstdint>
#include <limits>
#include <set>

namespace vitrandel::lst {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

ordered_json elementToJson(const Element& e) {
    ordered_json j;
    j["name"] = e.name;
    j["description"] = e.description;
    j["imagePath"] = e.imagePath;
    j["fitImage"] = isTrue(e.fitImage);
    j["category"] = e.category;
    j["fontName"] = e.fontName;
    j["fontSize"] = e.fontSize;
    j["fontBold"] = isTrue(e.fontBold);
    j["fontItalic"] = isTrue(e.fontItalic);
    j["textColor"] = e.textColor;
    return j;
}

[[noreturn]] void refuse(const std::string& field, const std::string& problem) {
    throw BadListingJson(field + ": " + problem);
}

// Reads the members of one JSON object, refusing any it does not know: a
// misspelt key would otherwise vanish silently from the listing.
class Fields {
public:
    Fields(const json& obj, std::string where, std::set<std::string> known)
        : obj_(obj), where_(std::move(where)) {
        if (!obj_.is_object())
            refuse(where_.empty() ? "the document" : where_, "must be a JSON object");
        for (const auto& item : obj_.items())
            if (!known.count(item.key()))
                refuse(path(item.key()), "unknown key");
    }

    std::string text(const std::string& key) const {
        const json* v = find(key);
        if (!v)
            return {};
        if (!v->is_string())
            refuse(path(key), "must be a string");
        return v->get<std::string>();
    }

    std::int16_t flag(const std::string& key) const {
        const json* v = find(key);
        if (!v)
            return kFalse;
        if (!v->is_boolean())
            refuse(path(key), "must be true or false");
        return toBool16(v->get<bool>());
    }

    template <typename T> T integer(const std::string& key) const {
        const json* v = find(key);
        if (!v)
            return 0;
        if (!v->is_number_integer())
            refuse(path(key), "must be a whole number");
        constexpr auto lo = std::numeric_limits<T>::min();
        constexpr auto hi = std::numeric_limits<T>::max();
        const std::string range = " (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
        if (v->is_number_unsigned()) {
            const auto u = v->get<std::uint64_t>();
            if (u > static_cast<std::uint64_t>(hi))
                refuse(path(key), "out of range" + range);
            return static_cast<T>(u);
        }
        const auto i = v->get<std::int64_t>();
        if (i < lo || i > hi)
            refuse(path(key), "out of range" + range);
        return static_cast<T>(i);
    }

    const json* array(const std::string& key) const {
        const json* v = find(key);
        if (v && !v->is_array())
            refuse(path(key), "must be an array");
        return v;
    }

    std::string path(const std::string& key) const {
        return where_.empty() ? key : where_ + "." + key;
    }

private:
    const json* find(const std::string& key) const {
        const auto it = obj_.find(key);
        return it == obj_.end() ? nullptr : &*it;
    }

    const json& obj_;
    std::string where_;
};

Element elementFromJson(const json& obj, const std::string& where) {
    const Fields f(obj, where,
                   {"name", "description", "imagePath", "fitImage", "category", "fontName",
                    "fontSize", "fontBold", "fontItalic", "textColor"});
    Element e;
    e.name = f.text("name");
    e.description = f.text("description");
    e.imagePath = f.text("imagePath");
    e.fitImage = f.flag("fitImage");
    e.category = f.integer<std::int16_t>("category");
    e.fontName = f.text("fontName");
    e.fontSize = f.integer<std::int16_t>("fontSize");
    e.fontBold = f.flag("fontBold");
    e.fontItalic = f.flag("fontItalic");
    e.textColor = f.integer<std::int32_t>("textColor");
    return e;
}

} // namespace

ordered_json listingToJson(const ParsedListing& listing) {
    const Project& p = listing.project;
    ordered_json j;
    j["title"] = p.title;
    j["password"] = p.password;
    j["passwordEnabled"] = isTrue(p.passwordEnabled);
    j["locked"] = isTrue(p.locked);
    j["workingDir"] = listing.workingDir;
    j["categories"] = ordered_json::array();
    for (int i = 0; i < p.categoryCount && i < kMaxCategories; ++i)
        j["categories"].push_back(p.categories[static_cast<std::size_t>(i)]);
    j["elements"] = ordered_json::array();
    for (int i = 0; i < p.elementCount && i < kMaxElements; ++i)
        j["elements"].push_back(elementToJson(p.elements[static_cast<std::size_t>(i)]));
    return j;
}

ListingFromJson listingFromJson(const json& doc) {
    const Fields f(
        doc, {},
        {"title", "password", "passwordEnabled", "locked", "workingDir", "categories", "elements"});
    ListingFromJson out;
    Project& p = out.project;
    p.title = f.text("title");
    p.password = f.text("password");
    p.passwordEnabled = f.flag("passwordEnabled");
    p.locked = f.flag("locked");

    out.workingDir = doc.contains("workingDir") ? f.text("workingDir") : std::string(".");
    // The reader would try to enter a folder with no name and fail on every machine.
    if (out.workingDir.find_first_not_of(' ') == std::string::npos)
        refuse("workingDir", "must be \".\" or a directory path, not empty");
    p.useCurrentDir = toBool16(out.workingDir == ".");

    if (const json* cats = f.array("categories")) {
        if (cats->size() > static_cast<std::size_t>(kMaxCategories))
            refuse("categories", "a listing holds at most " + std::to_string(kMaxCategories) +
                                     " categories, this one has " + std::to_string(cats->size()));
        for (std::size_t i = 0; i < cats->size(); ++i) {
            const std::string where = "categories[" + std::to_string(i) + "]";
            if (!(*cats)[i].is_string())
                refuse(where, "must be a string");
            p.categories[i] = (*cats)[i].get<std::string>();
        }
        p.categoryCount = static_cast<std::int16_t>(cats->size());
    }

    if (const json* elems = f.array("elements")) {
        if (elems->size() > static_cast<std::size_t>(kMaxElements))
            refuse("elements", "a listing holds at most " + std::to_string(kMaxElements) +
                                   " elements, this one has " + std::to_string(elems->size()));
        for (std::size_t i = 0; i < elems->size(); ++i)
            p.elements[i] = elementFromJson((*elems)[i], "elements[" + std::to_string(i) + "]");
        p.elementCount = static_cast<std::int16_t>(elems->size());
    }
    return out;
}

} // namespace vitrandel::lst
