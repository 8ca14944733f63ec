// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QListWidget>
#include <QStringList>

namespace vitrandel {

// The classic folder list: the open folder's ancestors from its volume's root
// down, the open folder itself, then its subfolders one step further in.
// Double-clicking an entry opens that folder, and so does Enter on a highlighted
// one; merely highlighting does not. Enter on the open folder itself is left
// to the dialog's default button.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder, absolute.
    QString path() const { return m_path; }

    // A folder that cannot be read is reported and the list stays where it
    // was; true when the list now shows the folder.
    bool setPath(const QString& folder);

    // The open folder's subfolders as listed, full paths.
    QStringList subfolders() const;

Q_SIGNALS:
    void pathChanged(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();

    QString m_path;
    int m_openRow = -1;
};

} // namespace vitrandel
