// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Copies of unsaved work that survive a crash, a killed session or a power
// cut: one file per running editor under the user's state folder, next to a
// lock that the editor holds for as long as it runs. The kernel drops the
// lock when the process dies, however it dies, which is how a later editor
// tells a copy whose editor is gone from one whose editor is still at work.
namespace vitrandel::platform {

// $XDG_STATE_HOME/vitrandel/recuperacion, ~/.local/state when that is unset.
QString recoveryFolder();
// Where copies an author chose not to recover wait a week before going.
QString setAsideFolder();
constexpr std::chrono::hours kSetAsideKept{24 * 7};

struct RecoveryContents {
    std::string listing;   // the bytes Save would write
    QString listingPath;   // where Save would write them; empty for a listing never saved
    QString workingFolder; // the editor's current directory, which pictures are relative to
    QDateTime changedAt;

    bool operator==(const RecoveryContents&) const = default;
};

// What a copy holds, made on the writing thread from a snapshot taken on the
// user-interface thread: a full listing takes far longer to put into bytes
// than the user-interface thread may spend.
using RecoverySnapshot = std::function<std::optional<RecoveryContents>()>;

// The editor's work as it is now; its bytes are none while some text cannot
// be stored.
RecoverySnapshot unsavedWork();

std::string encodeRecovery(const RecoveryContents& c);
std::optional<RecoveryContents> decodeRecovery(const std::string& bytes);

class RecoveryWriter;

// One editor's copy. Changes are coalesced: at most one write every
// kRecoveryInterval, always of the latest state. The state is copied on this
// thread; it is put into bytes, written, flushed and renamed on a thread of
// its own.
class RecoveryKeeper : public QObject {
public:
    using Take = std::function<RecoverySnapshot()>;
    explicit RecoveryKeeper(Take take, QObject* parent = nullptr);
    // Removes the copy: an editor that ends normally has nothing to recover.
    ~RecoveryKeeper() override;

    void changed();
    void discard();
    // What the coalescing timer runs: takes the state and hands it to the
    // writing thread. This is all a copy costs the user-interface thread.
    void writeNow();
    // Writes what is pending at once and waits for the disk; for tests and
    // benchmarks.
    void flush();
    QString copyPath() const;

private:
    Take take_;
    QTimer timer_;
    std::chrono::steady_clock::time_point lastWrite_{};
    std::unique_ptr<RecoveryWriter> writer_;
};

constexpr std::chrono::milliseconds kRecoveryInterval{2000};

// A copy whose editor is no longer running, held (its lock taken) by this
// process until it is recovered, set aside or let go.
class AbandonedCopy {
public:
    AbandonedCopy(QString path, RecoveryContents contents, int lockFd);
    AbandonedCopy(AbandonedCopy&& other) noexcept;
    AbandonedCopy& operator=(AbandonedCopy&&) = delete;
    ~AbandonedCopy(); // lets go: the copy stays for the next start

    const RecoveryContents& contents() const { return contents_; }
    const QString& path() const { return path_; }
    // Recovered: the copy and its lock go.
    void remove();
    // Moved to setAsideFolder(), from where it goes after kSetAsideKept.
    void setAside();

private:
    void release(bool removeCopy);
    QString path_;
    RecoveryContents contents_;
    int lockFd_ = -1;
};

// Oldest first. Set-aside copies past their week are removed on the way.
std::vector<AbandonedCopy> claimAbandonedCopies();

} // namespace vitrandel::platform
