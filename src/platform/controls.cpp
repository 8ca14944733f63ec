// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/controls.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "model/project.h"
#include "platform/text.h"

namespace vitrandel::platform {

void centerOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void fillCategoryChoices(QComboBox* combo, const QString& first, const Project& p) {
    combo->clear();
    combo->addItem(first);
    const int count = std::min<int>(p.categoryCount, kMaxCategories);
    for (int i = 0; i < count; ++i)
        combo->addItem(qs(p.categories[static_cast<std::size_t>(i)]));
}

} // namespace vitrandel::platform
