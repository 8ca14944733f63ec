// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDir>
#include <QPointer>
#include <QTemporaryDir>

#include "editor/principal.h"
#include "model/project.h"
#include "support/dialog_test.h"

namespace vitrandel_test_support {

// The editor on a Project a test gives, with a temporary folder of its own as
// the working folder; the process's current directory is put back after.
class EditorSession {
public:
    EditorSession() { QDir::setCurrent(dir_.path()); }
    ~EditorSession() { close(); }
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    vitrandel::principal* open(const vitrandel::Project& p = vitrandel::Project{}) {
        vitrandel::project() = p;
        w = new vitrandel::principal;
        w->show();
        return w;
    }

    // Without the question about unsaved work, which no test answers here.
    void close() {
        if (!w)
            return;
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        vitrandel::project().modified = vitrandel::kFalse;
        delete w;
    }

    QString path() const { return dir_.path(); }
    QString at(const QString& relative) const { return dir_.filePath(relative); }

    QPointer<vitrandel::principal> w;

private:
    QTemporaryDir dir_;
    CurrentDirRestorer restore_;
};

} // namespace vitrandel_test_support
