// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/drive_list.h"

#include <QStorageInfo>

#include "platform/volumes.h"

namespace vitrandel {
namespace {

QString driveText(const QString& root) {
    const QStorageInfo volume(root);
    if (volume.rootPath() == root && !volume.name().isEmpty())
        return root + QStringLiteral(" [") + volume.name() + QLatin1Char(']');
    return root;
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    // Read by this name where no caption sits beside the list.
    setAccessibleName(QStringLiteral("Unidad"));
    for (const QString& root : platform::volumeRoots())
        addItem(driveText(root), root);
    m_drive = drive();
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString chosen = itemData(index).toString();
        if (chosen == m_drive)
            return;
        m_drive = chosen;
        Q_EMIT driveChanged(chosen);
    });
}

QString DriveList::drive() const {
    return currentData().toString();
}

void DriveList::setDrive(const QString& root) {
    int index = findData(root);
    if (index < 0) {
        addItem(driveText(root), root);
        index = count() - 1;
    }
    setCurrentIndex(index);
    m_drive = root;
}

} // namespace vitrandel
