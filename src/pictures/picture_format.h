#pragma once

#include <QByteArrayView>
#include <QString>

#include "pictures/protocol.h"

namespace vitrandel::pictures {

// The bytes a file's kind is told from; no format needs more.
constexpr qsizetype kFormatHeadBytes = 64;

// The format a file's first bytes name, from the formats a description may
// show; None for anything else, whatever the file is called. A bitmap saved
// without its file header has no mark of its own: only a name ending in
// .dib lets its bitmap header count.
protocol::Format formatOfHead(QByteArrayView head, const QString& path);

// Reads no more than kFormatHeadBytes of the file.
protocol::Format formatOfFile(const QString& path);

} // namespace vitrandel::pictures
