// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QListWidget>
#include <QtTest>
#include <functional>

#include "platform/modal.h"

// Helpers for tests that drive the program's modal dialogs.
namespace vitrandel_test_support {

// Queues the steps for the next modal dialog. Whatever the steps leave open
// is cancelled afterwards, so a failed check never leaves the test waiting.
inline void onNextDialog(std::function<void(QDialog&)> steps) {
    vitrandel::platform::ModalSeam::setNextHandler([steps = std::move(steps)](QDialog& dialog) {
        steps(dialog);
        if (dialog.isVisible())
            dialog.reject();
    });
}

template <typename T> T* control(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QLatin1String(name));
}

// The texts of a list, in order.
inline QStringList entries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// Puts the process's current directory back when the test ends.
class CurrentDirRestorer {
public:
    CurrentDirRestorer() : m_saved(QDir::currentPath()) {}
    ~CurrentDirRestorer() { QDir::setCurrent(m_saved); }
    CurrentDirRestorer(const CurrentDirRestorer&) = delete;
    CurrentDirRestorer& operator=(const CurrentDirRestorer&) = delete;

private:
    QString m_saved;
};

// A double-click as the window system delivers it: the first click, then the
// double-click event (item views act only on one that follows a press).
inline void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// Chooses an entry of a drop-down list with the arrow keys, as a user would.
// The list may refuse the choice and go back, so the steps are counted once.
inline void chooseWithKeys(QComboBox* combo, int index) {
    const int steps = index - combo->currentIndex();
    for (int i = 0; i < qAbs(steps); ++i)
        QTest::keyClick(combo, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
}

} // namespace vitrandel_test_support
