// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QPalette>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "model/project.h"

namespace vitrandel {

// A picture as the page shows it: its file beside the page and its size.
struct PagePicture {
    // Relative to the page, "/" between folders, as on disc (not URL-encoded).
    QString file;
    QSize naturalSize;
};

// The index as one UTF-8 HTML5 page that is also well-formed XML, readable
// with no script: the title, the categories as a menu of anchors, then each
// category's elements with their descriptions as the viewer draws them.
// `pictures[i]` is element i's picture, when it has one that could be saved.
QByteArray webPageHtml(const Project& p, const std::vector<std::optional<PagePicture>>& pictures,
                       const QPalette& palette);

// Text and double-quoted attribute values as HTML and XML both read them back unchanged.
QString escapeHtml(const QString& text);

// A relative file path as a URL: each folder and file name percent-encoded.
QString urlOfFile(const QString& relativePath);

} // namespace vitrandel
