// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/edit_history.h"

#include <QDir>
#include <QUndoCommand>
#include <chrono>
#include <utility>

#include "platform/volumes.h"

namespace vitrandel {
namespace {

// Typing that stops for longer than this starts a new step.
constexpr std::chrono::milliseconds kTypingPause{1000};
constexpr int kTypingId = 1;

} // namespace

class ProjectStep : public QUndoCommand {
public:
    ProjectStep(EditHistory& history, const QString& action, ProjectChange change,
                QString folderBefore, QString folderAfter, bool typing, bool continuesTyping)
        : QUndoCommand(action), history_(history), change_(std::move(change)),
          folderBefore_(std::move(folderBefore)), folderAfter_(std::move(folderAfter)),
          typing_(typing), continuesTyping_(continuesTyping) {}

    int id() const override { return typing_ ? kTypingId : -1; }

    void undo() override {
        history_.lastKeystroke_.invalidate();
        undoChange(project(), change_);
        enter(folderBefore_);
        Q_EMIT history_.applied(change_);
    }

    void redo() override {
        if (std::exchange(fresh_, false))
            return; // the command itself has just made the change
        history_.lastKeystroke_.invalidate();
        redoChange(project(), change_);
        enter(folderAfter_);
        Q_EMIT history_.applied(change_);
    }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const ProjectStep*>(other);
        if (!later->continuesTyping_ || !mergeChanges(change_, later->change_))
            return false;
        setObsolete(change_.empty());
        return true;
    }

private:
    void enter(const QString& folder) {
        if (folderBefore_ != folderAfter_)
            platform::changeCurrentFolder(folder);
    }

    EditHistory& history_;
    ProjectChange change_;
    QString folderBefore_;
    QString folderAfter_;
    bool typing_;
    bool continuesTyping_;
    bool fresh_ = true;
};

EditHistory::EditHistory(QObject* parent) : QObject(parent) {
    // A Project handed over with unsaved work keeps it.
    if (isTrue(project().modified))
        stack_.resetClean();
    connect(&stack_, &QUndoStack::indexChanged, this, &EditHistory::followStack);
    connect(&stack_, &QUndoStack::cleanChanged, this, &EditHistory::followStack);
}

// The stack empties itself as it goes; that is no change to the listing.
EditHistory::~EditHistory() {
    disconnect(&stack_, nullptr, this, nullptr);
}

void EditHistory::followStack() {
    project().modified = toBool16(!stack_.isClean());
    Q_EMIT stateChanged();
}

EditHistory::Step::Step(EditHistory& history, QString action)
    : history_(history), action_(std::move(action)), before_(project()),
      folderBefore_(QDir::currentPath()) {}

EditHistory::Step::~Step() {
    ProjectChange change = diffProjects(before_, project());
    const QString folderAfter = QDir::currentPath();
    if (change.empty() && folderAfter == folderBefore_) {
        // A dialog may have flagged a change that did not happen.
        project().modified = before_.modified;
        return;
    }
    history_.push(action_, std::move(change), folderBefore_, folderAfter, false);
}

void EditHistory::recordTitle(const std::string& title) {
    Project& p = project();
    if (p.title == title)
        return;
    ProjectChange change;
    change.before.settings = settingsOf(p);
    p.title = title;
    change.after.settings = settingsOf(p);
    change.before.elementCount = change.after.elementCount = p.elementCount;
    const QString folder = QDir::currentPath();
    push(QStringLiteral("cambio de título"), std::move(change), folder, folder, true);
}

void EditHistory::push(const QString& action, ProjectChange change, const QString& folderBefore,
                       const QString& folderAfter, bool typing) {
    const bool continuesTyping =
        typing && lastKeystroke_.isValid() && lastKeystroke_.elapsed() < kTypingPause.count();
    if (typing)
        lastKeystroke_.start();
    else
        lastKeystroke_.invalidate();
    stack_.push(new ProjectStep(*this, action, std::move(change), folderBefore, folderAfter, typing,
                                continuesTyping));
    followStack();
}

void EditHistory::restart() {
    stack_.clear();
    stack_.setClean();
    lastKeystroke_.invalidate();
    followStack();
}

void EditHistory::markSaved() {
    stack_.setClean();
    followStack();
}

void EditHistory::restartUnsaved() {
    stack_.clear();
    stack_.resetClean();
    lastKeystroke_.invalidate();
    followStack();
}

} // namespace vitrandel
