// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/find_command.h"

#include <QAction>
#include <QListWidget>
#include <QScreen>
#include <algorithm>

#include "dialogs/buscar_form.h"

namespace vitrandel {
namespace {

// Beside the window it searches, so that a chosen match is not hidden under it.
void placeBeside(QWidget* form, const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect owner = window->frameGeometry();
    const int gap = 8;
    int x = owner.right() + gap;
    if (x + form->width() > room.right())
        x = std::max(room.left(), owner.left() - gap - form->width());
    const int y = std::clamp(owner.top(), room.top(), std::max(room.top(), room.bottom() - form->height()));
    form->move(x, y);
}

} // namespace

FindCommand::FindCommand(QWidget* window, QListWidget* list, std::function<void(int)> showElement)
    : QObject(window), window_(window), showElement_(std::move(showElement)) {
    find_ = new QAction(QStringLiteral("&Buscar..."), window);
    find_->setObjectName(QStringLiteral("buscar"));
    find_->setShortcut(QKeySequence::Find);
    list->addAction(find_);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);

    next_ = new QAction(QStringLiteral("Buscar siguiente"), window);
    next_->setObjectName(QStringLiteral("buscar_siguiente"));
    next_->setShortcut(Qt::Key_F3);
    window->addAction(next_);

    connect(find_, &QAction::triggered, this, &FindCommand::open);
    connect(next_, &QAction::triggered, this, &FindCommand::next);
}

void FindCommand::open() {
    if (!form_) {
        form_ = new buscar_form(window_);
        connect(form_, &buscar_form::elementChosen, this, [this](int position) { showElement_(position); });
        placeBeside(form_, window_);
    }
    form_->present();
}

void FindCommand::next() {
    if (!form_ || !form_->nextMatch())
        open();
}

} // namespace vitrandel
