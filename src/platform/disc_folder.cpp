// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/disc_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "model/disc_listing.h"
#include "model/file_store.h"
#include "platform/file_helpers.h"
#include "platform/text.h"

namespace vitrandel::platform {
namespace {

// A disc's top folder holds a handful of files; a folder with more is looked
// at no further than this, so that a hostile one cannot keep us busy.
constexpr int kEntriesLooked = 4096;

// The file's real place, when it is a regular file inside the real folder.
QString insideFolder(const QString& root, const QString& path) {
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !QFileInfo(real).isFile())
        return {};
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return real.startsWith(prefix) ? real : QString();
}

QString autorunListing(const QString& root, const QString& inf) {
    FileError error;
    const auto bytes = readFileBytes(ss(inf), &error, kAutorunBytes);
    if (!bytes)
        return {};
    const auto argument = autorunArgument(*bytes);
    if (!argument)
        return {};
    // Windows names it from the disc's root, maybe with the disc's own letter.
    QString relative = nativeRelativePath(qs(*argument));
    if (relative.size() >= 2 && relative[1] == QLatin1Char(':') && relative[0].isLetter())
        relative.remove(0, 2);
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    if (relative.isEmpty())
        return {};
    const QString path = insideFolder(root, existingPathIgnoringCase(root + QLatin1Char('/') + relative));
    return !path.isEmpty() && readsAsListing(path) ? path : QString();
}

} // namespace

bool readsAsListing(const QString& path) {
    const std::string signature = listingSignature();
    return startsLikeListing(readFileStart(ss(path), signature.size()));
}

QString discListing(const QString& folder) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return {};
    QString inf;
    QStringList listings;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int seen = 0; it.hasNext() && seen < kEntriesLooked; ++seen) {
        const QString name = QFileInfo(it.next()).fileName();
        if (name.compare(QLatin1String("autorun.inf"), Qt::CaseInsensitive) == 0)
            inf = it.filePath();
        else if (name.endsWith(QLatin1String(".lst"), Qt::CaseInsensitive))
            listings << it.filePath();
    }
    if (const QString infPath = insideFolder(root, inf); !infPath.isEmpty())
        if (const QString named = autorunListing(root, infPath); !named.isEmpty())
            return named;
    QString only;
    for (const QString& candidate : listings) {
        const QString path = insideFolder(root, candidate);
        if (path.isEmpty() || !readsAsListing(path))
            continue;
        if (!only.isEmpty() && only != path)
            return {}; // two listings: which one the disc means is not ours to guess
        only = path;
    }
    return only;
}

} // namespace vitrandel::platform
