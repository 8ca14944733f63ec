// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A thin layer over the sqlite3 C API: one connection, statements prepared
// once and bound, errors as exceptions that keep SQLite's own code.
namespace vitrandel::library {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }
    // The file is not a database, or its pages do not hold together.
    bool damaged() const;

private:
    int code_;
};

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds from parameter 1 on, after clearing the last run.
    template <typename... Values>
    Statement& bind(const Values&... values) {
        reset();
        [[maybe_unused]] int index = 0;
        (bindOne(++index, values), ...);
        return *this;
    }

    // True while a row is there to read.
    bool step();
    // Runs a statement that returns no rows.
    void run();

    std::int64_t integer(int column) const;
    std::string text(int column) const;

private:
    void reset();
    void bindOne(int index, std::int64_t value);
    void bindOne(int index, int value) { bindOne(index, static_cast<std::int64_t>(value)); }
    void bindOne(int index, std::string_view value);
    void bindOne(int index, const std::string& value) { bindOne(index, std::string_view(value)); }
    void bindOne(int index, const char* value) { bindOne(index, std::string_view(value)); }

public:
    // Bytes stored as a BLOB rather than as text.
    struct BlobArg { std::string_view bytes; };
    void bindOne(int index, const BlobArg& value);

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

inline Statement::BlobArg blob(std::string_view bytes) { return {bytes}; }

class Connection {
public:
    // Opens or creates the file. Nothing is read from it yet.
    explicit Connection(const std::string& path);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    // Runs one or more statements that take no parameters.
    void exec(std::string_view sql);
    std::int64_t lastInsertId() const;

private:
    sqlite3* db_ = nullptr;
};

// A file of statements, each headed by "-- name: NAME"; prepared on first use.
class StatementFile {
public:
    StatementFile(sqlite3* db, std::string_view file);
    Statement& operator[](const std::string& name);

private:
    sqlite3* db_;
    std::map<std::string, std::string_view> sql_;
    std::map<std::string, Statement> prepared_;
};

// The text under each "-- name:" or "-- version:" heading, in file order.
std::map<std::string, std::string_view> splitSqlFile(std::string_view file, std::string_view heading);

// Commits when it ends normally, rolls back when an exception leaves it.
class WriteTransaction {
public:
    explicit WriteTransaction(Connection& c);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

} // namespace vitrandel::library
