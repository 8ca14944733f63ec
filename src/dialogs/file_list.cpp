// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/file_list.h"

#include <QDir>

namespace vitrandel {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    // Read by this name where no caption sits beside the list.
    setAccessibleName(QStringLiteral("Archivos"));
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setFolder(const QString& folder) {
    m_folder = folder;
    refresh();
}

void FileList::setPattern(const QString& pattern) {
    m_pattern = pattern;
    refresh();
}

void FileList::refresh() {
    clear();
    if (!m_folder.isEmpty())
        addItems(matchingFiles(m_folder, m_pattern));
}

QStringList FileList::matchingFiles(const QString& folder, const QString& pattern) {
    QStringList filters;
    for (QString part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        // Windows wildcards: "*.*" also names files without an extension.
        filters.append(part == QLatin1String("*.*") ? QStringLiteral("*") : part);
    }
    if (filters.isEmpty())
        filters.append(QStringLiteral("*"));
    QDir dir(folder);
    // Without QDir::CaseSensitive the name filters ignore letter case.
    return dir.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace vitrandel
