// SPDX-License-Identifier: GPL-2.0-or-later
#include "library/disc_library.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "library/search_query.h"
#include "library/sqlite_db.h"
#include "library/sql/adding.h"
#include "library/sql/discs.h"
#include "library/sql/migrations.h"
#include "library/sql/searching.h"
#include "library/sql/thumbnails.h"
#include "model/listing_reader.h"
#include "model/project.h"
#include "model/search.h"

namespace vitrandel::library {
namespace {

namespace fs = std::filesystem;

// Brings the file to kSchemaVersion, one step per version, each step and its
// version number in one transaction; another process doing the same at the
// same moment waits, then finds the work done.
int schemaVersion(Connection& db) {
    Statement version(db.handle(), "PRAGMA user_version");
    version.step();
    return static_cast<int>(version.integer(0));
}

void migrate(Connection& db) {
    // A file that is up to date is only read: a search need not wait for a writer.
    if (schemaVersion(db) >= kSchemaVersion)
        return;
    const auto steps = splitSqlFile(sql::migrations, "version");
    WriteTransaction t(db);
    const int from = schemaVersion(db);
    for (int v = from + 1; v <= kSchemaVersion; ++v) {
        db.exec(steps.at(std::to_string(v)));
        db.exec("PRAGMA user_version = " + std::to_string(v));
    }
    t.commit();
}

// Forces SQLite to read the file's header and schema, where a file that is
// not a database, or a torn one, shows itself.
void openAndCheck(Connection& db) {
    db.exec("PRAGMA foreign_keys = ON");
    db.exec("PRAGMA journal_mode = WAL");
    db.exec("PRAGMA synchronous = NORMAL");
    db.exec("SELECT count(*) FROM sqlite_schema");
    migrate(db);
}

std::string datedStem(const fs::path& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d-%H%M%S", &local);
    return path.stem().string() + "-danada-" + when;
}

// The file and the journal files beside it go under one new name that no
// file has yet.
std::string moveAside(const std::string& path) {
    const fs::path original(path);
    const std::string stem = datedStem(original);
    const std::string extension = original.extension().string();
    fs::path target;
    for (int n = 1;; ++n) {
        const std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
        target = original.parent_path() / (stem + suffix + extension);
        std::error_code ec;
        if (!fs::exists(target, ec) && !fs::exists(target.string() + "-wal", ec))
            break;
    }
    fs::rename(original, target);
    for (const char* sidecar : {"-wal", "-shm"}) {
        std::error_code ec;
        if (fs::exists(path + sidecar, ec))
            fs::rename(path + sidecar, target.string() + sidecar, ec);
    }
    return target.string();
}

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Pictures are named from the listing's own folder unless it records another.
std::string workingDirOf(const std::string& listingPath, const ParsedListing& listing) {
    if (listing.workingDir == "." || listing.workingDir.empty())
        return folderOf(listingPath);
    std::string dir = listing.workingDir;
    for (char& c : dir)
        if (c == '\\')
            c = '/';
    return dir;
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

} // namespace

struct Library::State {
    explicit State(const std::string& path) : db(path) {}
    Connection db;
    std::optional<StatementFile> adding, discs, searching, thumbnails;

    void prepareFiles() {
        adding.emplace(db.handle(), sql::adding);
        discs.emplace(db.handle(), sql::discs);
        searching.emplace(db.handle(), sql::searching);
        thumbnails.emplace(db.handle(), sql::thumbnails);
    }
};

std::string defaultLibraryPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data) {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".local" / "share";
    }
    return (base / "vitrandel" / "biblioteca.sqlite").string();
}

Library::Library(std::unique_ptr<State> state) : s_(std::move(state)) {}
Library::~Library() = default;

std::unique_ptr<Library> Library::open(const std::string& path, std::string* movedAside) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty())
        fs::create_directories(folder, ec);
    for (int attempt = 0;; ++attempt) {
        try {
            auto state = std::make_unique<State>(path);
            openAndCheck(state->db);
            state->prepareFiles();
            return std::unique_ptr<Library>(new Library(std::move(state)));
        } catch (const SqliteError& e) {
            if (!e.damaged() || attempt > 0)
                throw LibraryError(path + ": " + e.what());
            std::string aside;
            try {
                aside = moveAside(path);
            } catch (const fs::filesystem_error& f) {
                throw LibraryError(path + " is damaged and cannot be moved aside: " + f.what());
            }
            if (movedAside)
                *movedAside = aside;
        }
    }
}

std::int64_t Library::add(const std::string& listingPath, std::string_view bytes,
                          const Volume& volume, std::int64_t nowMs) {
    ParseOutcome parsed = parseListing(bytes, Project{});
    if (parsed.error)
        throw UnreadableListing(describeReadError(*parsed.error));
    const Project& p = parsed.listing.project;
    const std::string path = absolutePath(listingPath);
    const std::string workingDir = workingDirOf(path, parsed.listing);
    StatementFile& sql = *s_->adding;
    try {
        WriteTransaction t(s_->db);
        std::int64_t id = 0;
        if (Statement& find = sql["find_disc"].bind(path); find.step()) {
            id = find.integer(0);
            find.run();
            sql["update_disc"].bind(id, p.title, blob(bytes), workingDir, volume.label, volume.uuid, nowMs).run();
            sql["clear_elements"].bind(id).run();
            sql["clear_categories"].bind(id).run();
        } else {
            sql["insert_disc"].bind(path, p.title, blob(bytes), workingDir, volume.label, volume.uuid, nowMs).run();
            id = s_->db.lastInsertId();
        }
        Statement& category = sql["insert_category"];
        for (int k = 0; k < std::min<int>(p.categoryCount, kMaxCategories); ++k)
            category.bind(id, k + 1, p.categories[static_cast<std::size_t>(k)]).run();
        Statement& element = sql["insert_element"];
        Statement& words = sql["insert_words"];
        for (int i = 0; i < std::min<int>(p.elementCount, kMaxElements); ++i) {
            const Element& e = p.elements[static_cast<std::size_t>(i)];
            element.bind(id, i, e.name, categoryName(p, listedCategory(p, e)), e.imagePath).run();
            words.bind(s_->db.lastInsertId(), foldForSearch(e.name), foldForSearch(e.description)).run();
        }
        sql["drop_stale_thumbnails"].bind(id).run();
        t.commit();
        return id;
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::vector<Disc> Library::discs() {
    std::vector<Disc> out;
    try {
        Statement& list = (*s_->discs)["list_discs"].bind();
        while (list.step())
            out.push_back({list.integer(0), list.text(1), list.text(2), list.text(3), list.integer(4),
                           static_cast<int>(list.integer(5))});
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
    return out;
}

void Library::remove(std::int64_t discId) {
    try {
        WriteTransaction t(s_->db);
        (*s_->discs)["remove_elements"].bind(discId).run();
        (*s_->discs)["remove_disc"].bind(discId).run();
        t.commit();
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

bool Library::removeTitled(const std::string& title) {
    try {
        WriteTransaction t(s_->db);
        std::vector<std::int64_t> ids;
        for (Statement& titled = (*s_->discs)["discs_titled"].bind(title); titled.step();)
            ids.push_back(titled.integer(0));
        for (const std::int64_t id : ids) {
            (*s_->discs)["remove_elements"].bind(id).run();
            (*s_->discs)["remove_disc"].bind(id).run();
        }
        t.commit();
        return !ids.empty();
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::optional<StoredListing> Library::stored(std::int64_t discId) {
    try {
        Statement& row = (*s_->discs)["stored_listing"].bind(discId);
        if (!row.step())
            return std::nullopt;
        StoredListing out{row.text(0), row.text(1), row.text(2), row.text(3), row.text(4)};
        row.run();
        return out;
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::vector<std::string> Library::recentPaths(int count) {
    std::vector<std::string> out;
    try {
        for (Statement& row = (*s_->discs)["recent_paths"].bind(count); row.step();)
            out.push_back(row.text(0));
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
    return out;
}

namespace {

std::vector<FoundElement> readFound(Statement& rows, std::vector<FoundElement> out = {}) {
    while (rows.step())
        out.push_back({rows.integer(0), rows.text(1), rows.text(2), rows.text(3),
                       static_cast<int>(rows.integer(4))});
    return out;
}

} // namespace

std::vector<FoundElement> Library::search(const std::vector<std::string>& terms, int limit) {
    const auto query = buildQuery(terms);
    if (!query)
        return {};
    try {
        Statement& search = (*s_->searching)["search"];
        auto found = readFound(search.bind(query->inNames, limit));
        if (limit >= 0 && found.size() >= static_cast<std::size_t>(limit))
            return found;
        const int rest = limit < 0 ? -1 : limit - static_cast<int>(found.size());
        return readFound(search.bind(query->elsewhere, rest), std::move(found));
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::vector<FoundElement> Library::latest(int limit) {
    try {
        return readFound((*s_->searching)["latest_elements"].bind(limit));
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::vector<std::string> Library::picturesWithoutThumbnail(std::int64_t discId) {
    std::vector<std::string> out;
    try {
        for (Statement& row = (*s_->thumbnails)["pictures_without_thumbnail"].bind(discId); row.step();)
            out.push_back(row.text(0));
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
    return out;
}

void Library::storeThumbnail(std::int64_t discId, const std::string& picture, std::string_view png) {
    try {
        WriteTransaction t(s_->db);
        (*s_->thumbnails)["store_thumbnail"].bind(discId, picture, blob(png)).run();
        t.commit();
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

std::optional<std::string> Library::thumbnail(std::int64_t discId, const std::string& picture) {
    try {
        Statement& row = (*s_->thumbnails)["thumbnail"].bind(discId, picture);
        if (!row.step())
            return std::nullopt;
        std::string png = row.text(0);
        row.run();
        return png;
    } catch (const SqliteError& e) {
        throw LibraryError(e.what());
    }
}

} // namespace vitrandel::library
