// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/listing_reader.h"

#include "model/cp1252.h"
#include "model/helpers.h"
#include "model/listing_text.h"
#include "model/number_text.h"
#include "model/scrambler.h"

namespace vitrandel {
namespace {

// Keys and markers in the file's own code page (0xF1 is the letter ñ).
constexpr std::string_view kTitle = "titulo=";
constexpr std::string_view kPassword = "password=";
constexpr std::string_view kPasswordEnabled = "password activado=";
constexpr std::string_view kLockMarker = "[no mas modificaciones, plis]";
constexpr std::string_view kWorkingDir = "ruta actual=";
constexpr std::string_view kCategoriesMarker = "[categorias]";
constexpr std::string_view kElementMarker = "[listado]";
constexpr std::string_view kEndMarker = "[fin]";
constexpr std::string_view kAddCategory = "agregar=";
constexpr std::string_view kName = "nombre=";
constexpr std::string_view kDescription = "descripcion=";
constexpr std::string_view kImagePath = "ruta imagen=";
constexpr std::string_view kCategory = "num grupo=";
constexpr std::string_view kFontName = "nombre fuente=";
constexpr std::string_view kFontSize = "tama\xF1o fuente=";
constexpr std::string_view kFontStyle = "estilo fuente=";
constexpr std::string_view kTextColor = "color de fondo=";
constexpr std::string_view kFitImage = "ajuste de imagen=";

// Every line is tried against every key, so no copy is made to compare.
bool equalsLowerKey(std::string_view text, std::string_view key) {
    if (text.size() != key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (cp1252::toLower(text[i]) != key[i])
            return false;
    return true;
}

bool startsWithKey(std::string_view line, std::string_view key) {
    return line.size() >= key.size() && equalsLowerKey(line.substr(0, key.size()), key);
}

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool isMarker(std::string_view line, std::string_view marker) {
    return equalsLowerKey(trimBlanks(line), marker);
}

struct StopReading {
    ReadError error;
};

class Parser {
public:
    Parser(std::string_view bytes, const Project& base) : lines_(splitListingLines(bytes)) {
        out_.project = base;
    }

    ParseOutcome run() {
        ParseOutcome result;
        try {
            parse();
        } catch (const StopReading& stop) {
            result.error = stop.error;
        }
        result.listing = std::move(out_);
        return result;
    }

private:
    void parse() {
        Project& p = out_.project;
        p.locked = kFalse;
        while (advance()) {
            if (startsWithKey(current_, kTitle))
                p.title = textAfter(kTitle);
            if (startsWithKey(current_, kPassword))
                p.password = textAfter(kPassword);
            if (startsWithKey(current_, kPasswordEnabled))
                p.passwordEnabled = toBool16(readBooleanWord(rest(kPasswordEnabled)));
            if (startsWithKey(current_, kLockMarker))
                p.locked = kTrue;
            if (startsWithKey(current_, kWorkingDir))
                readWorkingDir();
            if (isMarker(current_, kCategoriesMarker))
                readCategories();
            if (isMarker(current_, kElementMarker))
                readElement();
        }
        p.categoryCount = static_cast<std::int16_t>(categoryPos_);
        p.elementCount = static_cast<std::int16_t>(elementPos_);
    }

    void readWorkingDir() {
        const std::string_view value = trimBlanks(rest(kWorkingDir));
        if (value == ".") {
            out_.project.useCurrentDir = kTrue;
            out_.workingDir.assign(1, '.');
        } else {
            out_.project.useCurrentDir = kFalse;
            out_.workingDir = cp1252::toUtf8(value);
            out_.directoryChanges.push_back(out_.workingDir);
        }
    }

    void readCategories() {
        while (!atEnd() && !isMarker(current_, kEndMarker)) {
            advance();
            if (startsWithKey(current_, kAddCategory)) {
                if (categoryPos_ >= kMaxCategories)
                    fail(ReadErrorKind::SubscriptOutOfRange);
                out_.project.categories[static_cast<std::size_t>(categoryPos_++)] = textAfter(kAddCategory);
            }
        }
    }

    void readElement() {
        while (!atEnd() && !isMarker(current_, kEndMarker)) {
            advance();
            if (startsWithKey(current_, kName))
                slot().name = textAfter(kName);
            if (startsWithKey(current_, kDescription))
                slot().description = textAfter(kDescription);
            if (startsWithKey(current_, kImagePath))
                slot().imagePath = textAfter(kImagePath);
            if (startsWithKey(current_, kCategory))
                slot().category = checked(toInt16(number(kCategory)));
            if (startsWithKey(current_, kFontName))
                slot().fontName = textAfter(kFontName);
            if (startsWithKey(current_, kFontSize))
                slot().fontSize = checked(toInt16(number(kFontSize)));
            if (startsWithKey(current_, kFontStyle)) {
                const double code = number(kFontStyle);
                applyStyleCode(slot(), code);
            }
            if (startsWithKey(current_, kTextColor))
                slot().textColor = checked(toInt32(number(kTextColor)));
            if (startsWithKey(current_, kFitImage))
                slot().fitImage = toBool16(readBooleanWord(rest(kFitImage)));
        }
        slot(); // the end of a block past the table is out of range too
        ++elementPos_;
    }

    Element& slot() {
        if (elementPos_ >= kMaxElements)
            fail(ReadErrorKind::SubscriptOutOfRange);
        return out_.project.elements[static_cast<std::size_t>(elementPos_)];
    }

    bool atEnd() const { return next_ >= lines_.size(); }

    bool advance() {
        if (atEnd())
            return false;
        static const Descrambler descrambler(kListingKey, kListingShift);
        descrambler.apply(lines_[next_++], current_);
        return true;
    }

    std::string_view rest(std::string_view key) const {
        return std::string_view(current_).substr(key.size());
    }
    std::string textAfter(std::string_view key) const { return decodeListingText(rest(key)); }

    double number(std::string_view key) const {
        const auto v = numericValue(rest(key));
        if (!v)
            fail(ReadErrorKind::Overflow);
        return *v;
    }

    template <typename T> T checked(const std::optional<T>& v) const {
        if (!v)
            fail(ReadErrorKind::Overflow);
        return *v;
    }

    [[noreturn]] void fail(ReadErrorKind kind) const {
        throw StopReading{ReadError{kind, static_cast<int>(next_), {}}};
    }

    std::vector<std::string_view> lines_;
    std::size_t next_ = 0;
    std::string current_;
    int categoryPos_ = 0;
    int elementPos_ = 0;
    ParsedListing out_;
};

} // namespace

std::vector<std::string_view> splitListingLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto cr = bytes.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, cr - start));
        start = cr + 1;
        if (start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return lines;
}

ParseOutcome parseListing(std::string_view bytes, const Project& base) {
    return Parser(bytes, base).run();
}

void normaliseElements(Project& p) {
    for (int i = 0; i < p.elementCount && i < kMaxElements; ++i) {
        Element& e = p.elements[static_cast<std::size_t>(i)];
        if (tamano_no_estandar(e.fontSize))
            e.fontSize = kFallbackFontSize;
        if (e.textColor < 0)
            e.textColor = kWindowBackgroundColor;
    }
}

std::string describeReadError(const ReadError& e) {
    std::string text;
    switch (e.kind) {
    case ReadErrorKind::CannotOpen: text = "cannot open the file"; break;
    case ReadErrorKind::Overflow: text = "a number is out of range (overflow)"; break;
    case ReadErrorKind::SubscriptOutOfRange:
        text = "too many categories (51 at most) or elements (256 at most)";
        break;
    case ReadErrorKind::Io: text = "read error"; break;
    }
    if (!e.detail.empty())
        text += ": " + e.detail;
    if (e.line > 0)
        text += " (line " + std::to_string(e.line) + ")";
    return text;
}

} // namespace vitrandel
