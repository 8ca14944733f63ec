// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QComboBox>

namespace vitrandel {

// The drives of this system: the file system's root and the mounted volumes.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // The chosen volume's root.
    QString drive() const;

    // Shows the volume without raising driveChanged; callers use it to put
    // the list back when the chosen volume could not be read.
    void setDrive(const QString& root);

Q_SIGNALS:
    // The user chose another volume.
    void driveChanged(const QString& root);

private:
    QString m_drive;
};

} // namespace vitrandel
