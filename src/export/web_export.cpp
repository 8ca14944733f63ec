// SPDX-License-Identifier: GPL-2.0-or-later
#include "export/web_export.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <optional>
#include <vector>

#include "export/element_style.h"
#include "export/web_page.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
#include "platform/output_folder.h"
#include "platform/picture_roots.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

// Formats every browser shows as they are; anything else becomes PNG.
bool browserShows(const QByteArray& format) {
    return format == "jpeg" || format == "png" || format == "gif";
}

// A copied picture keeps its own extension when that names its format, so
// that a browser reading from a disc without types still knows it.
QString suffixFor(const QByteArray& format, const QString& own) {
    const QString lower = own.toLower();
    if (format == "jpeg")
        return lower == u"jpg" || lower == u"jpeg" || lower == u"jpe" ? own : QStringLiteral("jpg");
    return lower == QLatin1String(format) ? own : QLatin1String(format);
}

// The longest name the systems a page is copied to accept, in bytes.
constexpr qsizetype kMaxNameBytes = 255;

// `stem` cut, at a character's edge, so that stem and tail fit in a name.
QString fitName(QString stem, const QString& tail) {
    while (!stem.isEmpty() && QFile::encodeName(stem + tail).size() > kMaxNameBytes) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return stem + tail;
}

class PictureExport {
public:
    PictureExport(const platform::OutputFolder& folder, QStringList roots)
        : folder_(folder), roots_(std::move(roots)) {}

    // The picture as the page names it; nothing when it cannot be shown, lies
    // outside the listing's folders, or when writing failed (then failed()
    // says why).
    std::optional<PagePicture> add(const std::string& imagePath) {
        lastOutside_ = false;
        const QString named = platform::picturePath(platform::qs(imagePath));
        if (!platform::existe_archivo(named))
            return std::nullopt;
        // The real file, read from here on: a link swapped afterwards changes nothing.
        const QString source = QFileInfo(named).canonicalFilePath();
        if (!platform::liesInside(source, roots_)) {
            lastOutside_ = true;
            if (!outside_.contains(platform::qs(imagePath)))
                outside_ << platform::qs(imagePath);
            return std::nullopt;
        }
        if (const auto it = done_.constFind(source); it != done_.constEnd())
            return *it;
        // A picture that cannot be shown is asked about once, however many
        // elements name it: a metafile would start the helper each time.
        return *done_.insert(source, save(source, QFileInfo(named)));
    }

    bool failed() const { return !failedPath_.isEmpty(); }
    QString failedPath() const { return failedPath_; }
    int errnum() const { return errnum_; }
    QStringList outside() const { return outside_; }
    bool lastOutside() const { return lastOutside_; }

private:
    // The picture process reads the files: the page gets their bytes, or a
    // PNG of what they show, without the program decoding a stranger's file.
    std::optional<PagePicture> save(const QString& source, const QFileInfo& info) {
        using pictures::protocol::Kind;
        auto& client = pictures::PictureClient::instance();
        const pictures::Picture described = client.fetch({source, {}, Kind::Describe});
        const QByteArray format = pictures::protocol::formatName(described.format);
        if (described.ok && browserShows(format)) {
            const pictures::Picture copy = client.fetch({source, {}, Kind::Bytes});
            if (!copy.ok)
                return std::nullopt;
            const QString name = freeName(info.completeBaseName(), suffixFor(format, info.suffix()));
            if (!write(name, copy.bytes))
                return std::nullopt;
            // Browsers turn a photo as its camera noted; its frame must turn too.
            QSize size = described.naturalSize;
            if (described.turned)
                size.transpose();
            return PagePicture{relative(name), size};
        }
        const pictures::Picture png = client.fetch({source, {}, Kind::Png});
        if (!png.ok)
            return std::nullopt;
        const QString name = freeName(info.completeBaseName(), QStringLiteral("png"));
        if (!write(name, png.bytes))
            return std::nullopt;
        return PagePicture{relative(name), png.naturalSize};
    }

    // Two pictures of the same name in different folders, or a bitmap whose
    // PNG would take a PNG's name, each keep a file of their own; letter case
    // does not tell names apart on the discs the page is burnt to.
    QString freeName(const QString& base, const QString& suffix) {
        const QString stem = base.isEmpty() ? QStringLiteral("imagen") : base;
        const QString dot = suffix.isEmpty() ? QString() : u'.' + suffix;
        QString name = fitName(stem, dot);
        for (int n = 2; used_.contains(name.toLower()); ++n)
            name = fitName(stem, QStringLiteral("-%1%2").arg(n).arg(dot));
        used_.insert(name.toLower());
        return name;
    }

    QString relative(const QString& name) const {
        return QLatin1String(kWebPicturesFolder) + u'/' + name;
    }

    const platform::OutputFolder* pictures() {
        if (!pictures_) {
            int errnum = 0;
            pictures_ = folder_.subfolder(QLatin1String(kWebPicturesFolder), &errnum);
            if (!pictures_)
                fail(folder_.filePath(QLatin1String(kWebPicturesFolder)), errnum);
        }
        return pictures_ ? &*pictures_ : nullptr;
    }

    bool write(const QString& name, const QByteArray& bytes) {
        int errnum = 0;
        const platform::OutputFolder* dir = pictures();
        return dir && (dir->write(name, bytes, &errnum) || fail(dir->filePath(name), errnum));
    }


    bool fail(const QString& path, int errnum) {
        failedPath_ = path;
        errnum_ = errnum;
        return false;
    }

    const platform::OutputFolder& folder_;
    const QStringList roots_;
    std::optional<platform::OutputFolder> pictures_;
    QHash<QString, std::optional<PagePicture>> done_;
    QSet<QString> used_;
    QStringList outside_;
    bool lastOutside_ = false;
    QString failedPath_;
    int errnum_ = 0;
};

} // namespace

WebExportOutcome exportWebPage(const Project& p, const QString& folder, const QPalette& palette) {
    WebExportOutcome outcome;
    std::optional<platform::OutputFolder> out = platform::OutputFolder::open(folder, &outcome.errnum);
    if (!out) {
        outcome.failedPath = folder;
        return outcome;
    }
    const int count = std::min<int>(p.elementCount, kMaxElements);
    std::vector<std::optional<PagePicture>> pictures(static_cast<std::size_t>(count));
    PictureExport exporter(*out, platform::pictureRoots(p));
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        if (e.imagePath.empty())
            continue;
        pictures[static_cast<std::size_t>(i)] = exporter.add(e.imagePath);
        if (exporter.failed()) {
            outcome.failedPath = exporter.failedPath();
            outcome.errnum = exporter.errnum();
            return outcome;
        }
        if (!pictures[static_cast<std::size_t>(i)] && !exporter.lastOutside())
            ++outcome.picturesMissing;
    }
    outcome.picturesOutside = exporter.outside();

    const QByteArray page = webPageHtml(p, pictures, pagePalette(palette));
    if (!out->write(QLatin1String(kWebPageName), page, &outcome.errnum)) {
        outcome.failedPath = out->filePath(QLatin1String(kWebPageName));
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace vitrandel
