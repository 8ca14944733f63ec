// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QListWidget;
class QWidget;

namespace vitrandel {

class buscar_form;

// Find as a window with an element list offers it: Ctrl+F and "Buscar..."
// in the list's context menu open the find window, and F3 shows the next
// match, also once the find window is closed. The window shows the element
// of a chosen match through `showElement`, with its own handlers.
class FindCommand : public QObject {
    Q_OBJECT

public:
    FindCommand(QWidget* window, QListWidget* list, std::function<void(int)> showElement);

    void open();
    // While nothing matches, F3 opens the find window instead.
    void next();

private:
    QWidget* window_;
    std::function<void(int)> showElement_;
    QAction* find_;
    QAction* next_;
    // Closing only hides it, so that F3 still has the last search.
    QPointer<buscar_form> form_;
};

} // namespace vitrandel
