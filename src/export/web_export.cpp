#include "export/web_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <optional>
#include <vector>

#include "export/element_style.h"
#include "export/web_page.h"
#include "pictures/picture_client.h"
#include "platform/file_helpers.h"
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

class PictureExport {
public:
    explicit PictureExport(const QString& folder) : dir_(QDir(folder).filePath(QLatin1String(kWebPicturesFolder))) {}

    // The picture as the page names it; nothing when it cannot be shown or
    // when writing failed (then failed() says why).
    std::optional<PagePicture> add(const std::string& imagePath) {
        const QString source = platform::picturePath(platform::qs(imagePath));
        if (!platform::existe_archivo(source))
            return std::nullopt;
        const QString key = QFileInfo(source).absoluteFilePath();
        if (const auto it = done_.constFind(key); it != done_.constEnd())
            return *it;
        // A picture that cannot be shown is asked about once, however many
        // elements name it: a metafile would start the helper each time.
        return *done_.insert(key, save(source));
    }

    bool failed() const { return !failedPath_.isEmpty(); }
    QString failedPath() const { return failedPath_; }
    QString reason() const { return reason_; }

private:
    // The picture process reads the files: the page gets their bytes, or a
    // PNG of what they show, without the program decoding a stranger's file.
    std::optional<PagePicture> save(const QString& source) {
        using pictures::protocol::Kind;
        auto& client = pictures::PictureClient::instance();
        const pictures::Picture described = client.fetch({source, {}, Kind::Describe});
        const QByteArray format = pictures::protocol::formatName(described.format);
        const QFileInfo info(source);
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
        QString name = stem + dot;
        for (int n = 2; used_.contains(name.toLower()); ++n)
            name = QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(dot);
        used_.insert(name.toLower());
        return name;
    }

    QString relative(const QString& name) const {
        return QLatin1String(kWebPicturesFolder) + u'/' + name;
    }

    bool write(const QString& name, const QByteArray& bytes) {
        if (!QDir().mkpath(dir_)) {
            failedPath_ = dir_;
            return false;
        }
        QSaveFile file(QDir(dir_).filePath(name));
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return true;
        failedPath_ = file.fileName();
        reason_ = file.errorString();
        return false;
    }

    QString dir_;
    QHash<QString, std::optional<PagePicture>> done_;
    QSet<QString> used_;
    QString failedPath_;
    QString reason_;
};

} // namespace

WebExportOutcome exportWebPage(const Project& p, const QString& folder, const QPalette& palette) {
    WebExportOutcome outcome;
    const int count = std::min<int>(p.elementCount, kMaxElements);
    std::vector<std::optional<PagePicture>> pictures(static_cast<std::size_t>(count));
    PictureExport exporter(folder);
    for (int i = 0; i < count; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        if (e.imagePath.empty())
            continue;
        pictures[static_cast<std::size_t>(i)] = exporter.add(e.imagePath);
        if (exporter.failed()) {
            outcome.failedPath = exporter.failedPath();
            outcome.reason = exporter.reason();
            return outcome;
        }
        if (!pictures[static_cast<std::size_t>(i)])
            ++outcome.picturesMissing;
    }

    const QByteArray page = webPageHtml(p, pictures, pagePalette(palette));
    QSaveFile file(QDir(folder).filePath(QLatin1String(kWebPageName)));
    if (!(file.open(QIODevice::WriteOnly) && file.write(page) == page.size() && file.commit())) {
        outcome.failedPath = file.fileName();
        outcome.reason = file.errorString();
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace vitrandel
