// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QListWidget>

namespace vitrandel {

// The classic file list: the ordinary files of one folder whose names match
// the pattern, sorted without regard to letter case. Hidden files are left
// out. The pattern may hold several wildcards separated by ";", each matched
// without regard to letter case; "*.*" takes every file, with or without a dot.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    // Reads the folder again.
    void refresh();

    static QStringList matchingFiles(const QString& folder, const QString& pattern);

private:
    QString m_folder;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace vitrandel
