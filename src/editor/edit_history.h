// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include "model/project.h"
#include "model/project_change.h"

namespace vitrandel {

// The editor's undo history over what Save writes. Each command runs as it
// always has, straight on the Project; a step compares the Project (and the
// working folder, which Save also records) before and after and keeps only
// the difference. So every command, and every dialog a command opens, is
// undone the same way without each learning about undo, and a redo can only
// bring back a state that was valid when it was made: the element and
// category limits hold on redo as they held then.
class EditHistory : public QObject {
    Q_OBJECT
public:
    explicit EditHistory(QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack* stack() { return &stack_; }

    // One command's changes as one step named `action` ("Deshacer ‹action›").
    class Step {
    public:
        Step(EditHistory& history, QString action);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        EditHistory& history_;
        QString action_;
        Project before_;
        QString folderBefore_;
    };

    // The title box: the Project's title is about to become `title`.
    // Keystrokes without a pause between them make one step.
    void recordTitle(const std::string& title);

    // New and Open: a history of another listing means nothing here.
    void restart();
    // Save: this state is what the file holds.
    void markSaved();
    // Recovered work: nothing to undo, and not what any file holds.
    void restartUnsaved();

Q_SIGNALS:
    // After an undo or a redo changed the Project; `change` says what moved.
    void applied(const vitrandel::ProjectChange& change);
    // After anything that may change whether there is unsaved work.
    void stateChanged();

private:
    friend class ProjectStep;
    void push(const QString& action, ProjectChange change, const QString& folderBefore,
              const QString& folderAfter, bool typing);
    void followStack();

    QUndoStack stack_;
    QElapsedTimer lastKeystroke_;
};

} // namespace vitrandel
