// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/folder_fill.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "model/cp1252.h"
#include "model/listing_text.h"

namespace vitrandel {
namespace {

// The kinds of picture the description editor offers.
constexpr std::array<std::string_view, 8> kPictureExtensions = {"jpg", "gif", "bmp", "dib",
                                                                "wmf", "emf", "ico", "cur"};
constexpr std::string_view kTextExtension = "txt";
constexpr std::string_view kDescriptIon = "descript.ion";
constexpr std::string_view kFileIdDiz = "file_id.diz";
constexpr std::size_t kTabWidth = 8;
constexpr char kReplacement = '?';

bool naturalLessFolded(std::string_view x, std::string_view y, std::string_view a, std::string_view b);

// Names compare as the editor compares them: without regard to letter case.
std::string foldCase(std::string_view utf8) {
    // Plain ASCII, nearly every name, folds without decoding.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string out(utf8);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    if (auto bytes = cp1252::fromUtf8(utf8))
        return cp1252::toLower(*bytes);
    std::string out(utf8);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view stemOf(std::string_view file) {
    const auto dot = file.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? file : file.substr(0, dot);
}

std::string extensionOf(std::string_view file) {
    const auto dot = file.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string()
                                                     : foldCase(file.substr(dot + 1));
}

bool isPicture(std::string_view file) {
    const std::string ext = extensionOf(file);
    return std::find(kPictureExtensions.begin(), kPictureExtensions.end(), ext) !=
           kPictureExtensions.end();
}

bool isFolderNote(std::string_view file) {
    if (file.size() != kDescriptIon.size() && file.size() != kFileIdDiz.size())
        return false;
    const std::string folded = foldCase(file);
    return folded == kDescriptIon || folded == kFileIdDiz;
}

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// What the listing would turn into blanks or line breaks is made so here, so
// that the element shows the same before and after a save.
std::string withoutControls(std::string_view text, bool keepLines) {
    std::string out;
    out.reserve(text.size());
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (keepLines && (c == '\r' || c == '\n')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += '\n';
            column = 0;
        } else if (keepLines && c == '\t') {
            out.append(kTabWidth - column % kTabWidth, ' ');
            column += kTabWidth - column % kTabWidth;
        } else {
            out += c < 32 || c == 127 ? ' ' : static_cast<char>(c);
            if ((c & 0xC0) != 0x80) // one column per character, not per byte
                ++column;
        }
    }
    return out;
}

std::string cleanDescription(std::string_view text) {
    std::string out = withoutControls(text, true);
    const auto last = out.find_last_not_of(" \n");
    out.erase(last == std::string::npos ? 0 : last + 1);
    const auto firstLine = out.find_first_not_of('\n');
    out.erase(0, firstLine == std::string::npos ? out.size() : firstLine);
    return out;
}

// One file name's worth of elements: "gato.jpg" and "gato.txt" make one
// element, with a picture and a description.
struct FileGroup {
    std::string stem;
    std::vector<std::string> files;
};

std::vector<FileGroup> groupByStem(const ScannedFolder& folder) {
    std::vector<std::string> files;
    for (const std::string& f : folder.files)
        if (!isFolderNote(f))
            files.push_back(f);
    std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        if (naturalLess(stemOf(a), stemOf(b)))
            return true;
        return !naturalLess(stemOf(b), stemOf(a)) && naturalLess(a, b);
    });
    std::vector<FileGroup> groups;
    for (const std::string& f : files) {
        const std::string_view stem = stemOf(f);
        if (groups.empty() || foldCase(groups.back().stem) != foldCase(stem))
            groups.push_back({std::string(stem), {}});
        groups.back().files.push_back(f);
    }
    return groups;
}

class Filler {
public:
    Filler(Project& p, const FolderScan& scan, std::int16_t ownCategory)
        : p_(p), scan_(scan), ownCategory_(ownCategory) {
        for (int i = 0; i < p.elementCount; ++i)
            taken_.push_back(foldCase(p.elements[static_cast<std::size_t>(i)].name));
    }

    FolderFillReport run() {
        std::vector<const ScannedFolder*> order{&scan_.chosen};
        std::vector<const ScannedFolder*> subfolders;
        for (const ScannedFolder& f : scan_.subfolders)
            subfolders.push_back(&f);
        std::stable_sort(subfolders.begin(), subfolders.end(), [](const auto* a, const auto* b) {
            return naturalLess(a->name, b->name);
        });
        order.insert(order.end(), subfolders.begin(), subfolders.end());
        for (const ScannedFolder* f : order)
            addFolder(*f, f == &scan_.chosen);
        report_.refused = scan_.refused;
        report_.subfoldersLeftOut = scan_.subfoldersLeftOut;
        return std::move(report_);
    }

private:
    struct Notes {
        std::map<std::string, std::string> byFile; // folded file name -> description
        std::string forFolder;
    };

    void addFolder(const ScannedFolder& folder, bool chosen) {
        const std::vector<FileGroup> groups = groupByStem(folder);
        std::optional<Notes> notes;
        std::optional<std::int16_t> category;
        for (const FileGroup& g : groups) {
            if (p_.elementCount >= kMaxElements) {
                report_.tableFull = true;
                ++report_.leftOut;
                continue;
            }
            std::string name = withoutControls(g.stem, false);
            const bool nameReplaced = makeStorable(name, kReplacement) > 0;
            const std::string key = foldCase(name);
            if (std::find(taken_.begin(), taken_.end(), key) != taken_.end()) {
                report_.alreadyPresent.push_back(name);
                continue;
            }
            if (!category)
                category = chosen ? ownCategory_ : categoryFor(folder);
            if (!notes)
                notes = readNotes(folder);
            Element e = newElement(name, *category);
            describe(e, folder, g, *notes, nameReplaced);
            p_.elements[static_cast<std::size_t>(p_.elementCount++)] = std::move(e);
            taken_.push_back(key);
            ++report_.added;
        }
        // Never read, and each would have found the table full.
        if (folder.stemsLeftOut > 0) {
            report_.tableFull = true;
            report_.leftOut += static_cast<int>(folder.stemsLeftOut);
        }
    }

    void describe(Element& e, const ScannedFolder& folder, const FileGroup& g, const Notes& notes,
                  bool nameReplaced) {
        const auto picture = std::find_if(g.files.begin(), g.files.end(),
                                          [](const std::string& f) { return isPicture(f); });
        if (picture != g.files.end()) {
            const std::string path =
                folder.listingPath.empty() ? *picture : folder.listingPath + '\\' + *picture;
            // A path with a character the listing cannot store, or stores as
            // a blank, would name another file once saved.
            const auto stored = encodeListingPath(path);
            const bool storable = stored && cp1252::toUtf8(*stored) == path;
            if (storable) {
                e.imagePath = path;
                e.fitImage = kTrue;
            } else {
                report_.picturesLeftOut.push_back(e.name);
            }
        }
        std::string text;
        for (const std::string& f : g.files) {
            if (auto found = notes.byFile.find(foldCase(f)); found != notes.byFile.end()) {
                text = found->second;
                break;
            }
        }
        if (text.empty()) {
            for (const std::string& f : g.files) {
                if (extensionOf(f) == kTextExtension) {
                    text = readText(folder, f, kDescriptionBytes);
                    break;
                }
            }
        }
        if (text.empty())
            text = notes.forFolder;
        e.description = cleanDescription(text);
        const bool textReplaced = makeStorable(e.description, kReplacement) > 0;
        if (nameReplaced || textReplaced)
            report_.textReplaced.push_back(e.name);
    }

    std::string readText(const ScannedFolder& folder, const std::string& file, std::size_t limit) {
        if (!scan_.readStart)
            return {};
        const std::string bytes = scan_.readStart(folder, file, limit + 1);
        const bool cut = bytes.size() > limit;
        return decodeTextFile(std::string_view(bytes).substr(0, limit), cut);
    }

    Notes readNotes(const ScannedFolder& folder) {
        Notes notes;
        for (const std::string& f : folder.files) {
            const std::string folded = foldCase(f);
            if (folded == kDescriptIon) {
                for (auto& [name, text] : parseDescriptIon(readText(folder, f, kDescriptIonBytes)))
                    notes.byFile.try_emplace(foldCase(name), std::move(text));
            } else if (folded == kFileIdDiz) {
                notes.forFolder = readText(folder, f, kDescriptionBytes);
            }
        }
        return notes;
    }

    std::int16_t categoryFor(const ScannedFolder& folder) {
        std::string name = withoutControls(folder.name, false);
        if (makeStorable(name, kReplacement) > 0)
            report_.textReplaced.push_back(name);
        const std::string key = foldCase(name);
        for (int i = 0; i < p_.categoryCount; ++i)
            if (foldCase(p_.categories[static_cast<std::size_t>(i)]) == key)
                return static_cast<std::int16_t>(i + 1);
        if (p_.categoryCount >= kMaxCategories) {
            report_.foldersWithoutCategory.push_back(name);
            return ownCategory_;
        }
        p_.categories[static_cast<std::size_t>(p_.categoryCount++)] = name;
        ++report_.categoriesAdded;
        // A listing made elsewhere may hold elements numbered past its list;
        // a new category must not take them in, as the category editor's
        // new ones do not.
        for (int i = 0; i < p_.elementCount; ++i) {
            Element& e = p_.elements[static_cast<std::size_t>(i)];
            if (e.category == p_.categoryCount)
                e.category = 0;
        }
        return p_.categoryCount;
    }

    Project& p_;
    const FolderScan& scan_;
    const std::int16_t ownCategory_;
    std::vector<std::string> taken_;
    FolderFillReport report_;
};

// Drops the bytes of a character the cut split, when that is what spoils them.
std::string_view withoutSplitCharacter(std::string_view bytes) {
    for (std::size_t drop = 1; drop <= 3 && drop < bytes.size(); ++drop) {
        const std::string_view shorter = bytes.substr(0, bytes.size() - drop);
        if (cp1252::isUtf8(shorter))
            return shorter;
    }
    return bytes;
}

} // namespace

bool FolderNames::NaturalKey::operator()(const std::string& a, const std::string& b) const {
    return naturalLessFolded(a, b, a, b);
}

void FolderNames::add(std::string name) {
    if (isFolderNote(name)) {
        notes_.push_back(std::move(name));
        return;
    }
    std::string key = foldCase(stemOf(name));
    // Most names of a large folder fall past the last kept stem: one comparison.
    const bool full = kept_.size() >= kStemsKept;
    if (full && NaturalKey()(std::prev(kept_.end())->first, key)) {
        leftOut_.push_back(std::hash<std::string>()(key));
        return;
    }
    if (auto it = kept_.find(key); it != kept_.end()) {
        it->second.push_back(std::move(name));
        return;
    }
    if (full) {
        const auto last = std::prev(kept_.end());
        leftOut_.push_back(std::hash<std::string>()(last->first));
        kept_.erase(last);
    }
    kept_[std::move(key)].push_back(std::move(name));
}

std::size_t FolderNames::stemsLeftOut() {
    std::sort(leftOut_.begin(), leftOut_.end());
    leftOut_.erase(std::unique(leftOut_.begin(), leftOut_.end()), leftOut_.end());
    return leftOut_.size();
}

std::vector<std::string> FolderNames::take() {
    std::vector<std::string> names = std::move(notes_);
    for (auto& [stem, files] : kept_)
        for (std::string& f : files)
            names.push_back(std::move(f));
    kept_.clear();
    return names;
}

FolderFillReport addFolderToProject(Project& p, const FolderScan& scan, std::int16_t ownCategory) {
    return Filler(p, scan, ownCategory).run();
}

std::string decodeTextFile(std::string_view bytes, bool cut) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (cut) {
        const auto lastBreak = bytes.find_last_of('\n');
        if (lastBreak != std::string_view::npos)
            bytes = bytes.substr(0, lastBreak + 1);
        else if (!cp1252::isUtf8(bytes))
            bytes = withoutSplitCharacter(bytes);
    }
    return cp1252::isUtf8(bytes) ? std::string(bytes) : cp1252::toUtf8(bytes);
}

void keepPicked(FolderScan& scan, const std::vector<std::string>& picked) {
    std::vector<std::string> stems;
    for (const std::string& name : picked)
        if (std::find(scan.chosen.files.begin(), scan.chosen.files.end(), name) != scan.chosen.files.end())
            stems.push_back(foldCase(stemOf(name)));
    const auto pickedStem = [&stems](const std::string& file) {
        return isFolderNote(file) ||
               std::find(stems.begin(), stems.end(), foldCase(stemOf(file))) != stems.end();
    };
    std::erase_if(scan.chosen.files, [&](const std::string& f) { return !pickedStem(f); });
    std::erase_if(scan.subfolders, [&](const ScannedFolder& sub) {
        return std::find(picked.begin(), picked.end(), sub.name) == picked.end();
    });
}

std::vector<std::pair<std::string, std::string>> parseDescriptIon(std::string_view utf8) {
    std::vector<std::pair<std::string, std::string>> entries;
    while (!utf8.empty()) {
        const auto end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        std::string_view name;
        std::string_view rest;
        if (line.starts_with('"')) {
            const auto close = line.find('"', 1);
            if (close == std::string_view::npos)
                continue;
            name = line.substr(1, close - 1);
            rest = line.substr(close + 1);
        } else {
            const auto blank = line.find_first_of(" \t");
            name = line.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank);
        }
        std::string text;
        // Some shells add a mark (code 4) after which only their own data
        // follows; such entries write their line breaks as "\n".
        if (const auto mark = rest.find('\x04'); mark != std::string_view::npos) {
            const std::string_view shown = rest.substr(0, mark);
            for (std::size_t i = 0; i < shown.size(); ++i) {
                if (shown[i] == '\\' && i + 1 < shown.size() && shown[i + 1] == 'n') {
                    text += '\n';
                    ++i;
                } else {
                    text += shown[i];
                }
            }
        } else {
            text = rest;
        }
        text = std::string(trimBlanks(text));
        if (!name.empty() && !text.empty())
            entries.emplace_back(std::string(name), std::move(text));
    }
    return entries;
}

namespace {

// naturalLess on names already folded (x, y) from the names as given (a, b).
bool naturalLessFolded(std::string_view x, std::string_view y, std::string_view a, std::string_view b) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < x.size() && j < y.size()) {
        if (isDigit(x[i]) && isDigit(y[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < x.size() && isDigit(x[ei]))
                ++ei;
            while (ej < y.size() && isDigit(y[ej]))
                ++ej;
            std::string_view nx = std::string_view(x).substr(i, ei - i);
            std::string_view ny = std::string_view(y).substr(j, ej - j);
            while (nx.size() > 1 && nx.front() == '0')
                nx.remove_prefix(1);
            while (ny.size() > 1 && ny.front() == '0')
                ny.remove_prefix(1);
            if (nx.size() != ny.size())
                return nx.size() < ny.size();
            if (nx != ny)
                return nx < ny;
            i = ei;
            j = ej;
            continue;
        }
        const auto cx = static_cast<unsigned char>(x[i]);
        const auto cy = static_cast<unsigned char>(y[j]);
        if (cx != cy)
            return cx < cy;
        ++i;
        ++j;
    }
    if (x.size() - i != y.size() - j)
        return x.size() - i < y.size() - j;
    return a < b; // names equal but for case or leading zeros: still one order
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    return naturalLessFolded(foldCase(a), foldCase(b), a, b);
}

} // namespace vitrandel
