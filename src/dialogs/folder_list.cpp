// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "platform/error_text.h"
#include "platform/message_box.h"
#include "platform/twips.h"
#include "platform/volumes.h"

namespace vitrandel {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndentTwips = 150;

// Each entry is drawn one step in from its parent, as in a tree.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->rect.adjust(index.data(kLevelRole).toInt() * platform::twips(kIndentTwips), 0, 0,
                            0);
    }
};

} // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    // Read by this name where no caption sits beside the list.
    setAccessibleName(QStringLiteral("Carpetas"));
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { setPath(item->data(kPathRole).toString()); });
}

bool FolderList::setPath(const QString& folder) {
    const QString absolute = platform::absoluteFolder(folder);
    if (const int error = platform::folderReadError(absolute); error != 0) {
        platform::msgBox(platform::errorDescription(error),
                         platform::vbOKOnly + platform::vbExclamation);
        // A list that shows nothing yet is better showing the folder without
        // its subfolders than an empty path that callers would build on.
        if (!m_path.isEmpty() || !QFileInfo(absolute).isDir())
            return false;
    }
    const bool moved = absolute != m_path;
    m_path = absolute;
    platform::rememberFolder(m_path);
    fill();
    if (moved)
        Q_EMIT pathChanged(m_path);
    return true;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && currentRow() >= 0 &&
        currentRow() != m_openRow) {
        setPath(currentItem()->data(kPathRole).toString());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

QStringList FolderList::subfolders() const {
    QStringList result;
    for (int i = m_openRow + 1; i < count(); ++i)
        result.append(item(i)->data(kPathRole).toString());
    return result;
}

void FolderList::fill() {
    clear();
    const QString root = platform::volumeOf(m_path);
    QStringList chain;
    for (QString p = m_path;;) {
        chain.prepend(p);
        const QString up = QFileInfo(p).path();
        if (p == root || up == p)
            break;
        p = up;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int level = 0; level < chain.size(); ++level) {
        const QString text = level == 0 ? chain[level] : QFileInfo(chain[level]).fileName();
        auto* entry = new QListWidgetItem(openIcon, text, this);
        entry->setData(kPathRole, chain[level]);
        entry->setData(kLevelRole, level);
    }
    m_openRow = count() - 1;
    const QDir dir(m_path);
    const QStringList names =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        auto* entry = new QListWidgetItem(closedIcon, name, this);
        entry->setData(kPathRole, dir.filePath(name));
        entry->setData(kLevelRole, static_cast<int>(chain.size()));
    }
    setCurrentRow(m_openRow);
    scrollToItem(item(m_openRow));
}

} // namespace vitrandel
