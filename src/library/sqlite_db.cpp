// SPDX-License-Identifier: GPL-2.0-or-later
#include "library/sqlite_db.h"

#include <sqlite3.h>

namespace vitrandel::library {
namespace {

[[noreturn]] void fail(sqlite3* db, int code) {
    throw SqliteError(code, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

// How long a writer waits for another process's transaction to end.
constexpr int kBusyTimeoutMs = 10000;

} // namespace

bool SqliteError::damaged() const {
    const int primary = code_ & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK)
        fail(db, rc);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::bindOne(int index, std::int64_t value) {
    if (const int rc = sqlite3_bind_int64(stmt_, index, value); rc != SQLITE_OK)
        fail(db_, rc);
}

void Statement::bindOne(int index, std::string_view value) {
    if (const int rc = sqlite3_bind_text64(stmt_, index, value.data(), value.size(),
                                           SQLITE_TRANSIENT, SQLITE_UTF8);
        rc != SQLITE_OK)
        fail(db_, rc);
}

void Statement::bindOne(int index, const BlobArg& value) {
    if (const int rc = sqlite3_bind_blob64(stmt_, index, value.bytes.data(), value.bytes.size(),
                                           SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        fail(db_, rc);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    fail(db_, rc);
}

void Statement::run() {
    while (step()) {
    }
    sqlite3_reset(stmt_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const {
    const void* bytes = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size))
                 : std::string();
}

Connection::Connection(const std::string& path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw SqliteError(rc, why);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

Connection::~Connection() { sqlite3_close_v2(db_); }

void Connection::exec(std::string_view sql) {
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string why = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw SqliteError(rc, why);
    }
}

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

std::map<std::string, std::string_view> splitSqlFile(std::string_view file, std::string_view heading) {
    std::map<std::string, std::string_view> parts;
    const std::string marker = "-- " + std::string(heading) + ":";
    std::size_t at = file.find(marker);
    while (at != std::string_view::npos) {
        const std::size_t nameStart = at + marker.size();
        const std::size_t lineEnd = file.find('\n', nameStart);
        std::string_view name = file.substr(nameStart, lineEnd - nameStart);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
            name.remove_suffix(1);
        const std::size_t bodyStart = lineEnd == std::string_view::npos ? file.size() : lineEnd + 1;
        const std::size_t next = file.find(marker, bodyStart);
        parts.emplace(std::string(name), file.substr(bodyStart, next == std::string_view::npos
                                                                    ? std::string_view::npos
                                                                    : next - bodyStart));
        at = next;
    }
    return parts;
}

StatementFile::StatementFile(sqlite3* db, std::string_view file)
    : db_(db), sql_(splitSqlFile(file, "name")) {}

Statement& StatementFile::operator[](const std::string& name) {
    if (const auto found = prepared_.find(name); found != prepared_.end())
        return found->second;
    const auto sql = sql_.find(name);
    if (sql == sql_.end())
        throw SqliteError(SQLITE_ERROR, "no statement named " + name);
    return prepared_.try_emplace(name, db_, sql->second).first->second;
}

WriteTransaction::WriteTransaction(Connection& c) : c_(c) {
    // Taking the write lock at the start lets busy_timeout wait for another
    // writer; a read that turned into a write later would fail at once.
    c_.exec("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (!done_) {
        try {
            c_.exec("ROLLBACK");
        } catch (const SqliteError&) {
            // Nothing more can be done: SQLite has rolled back already.
        }
    }
}

void WriteTransaction::commit() {
    c_.exec("COMMIT");
    done_ = true;
}

} // namespace vitrandel::library
