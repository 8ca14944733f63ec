// SPDX-License-Identifier: GPL-2.0-or-later
// The icon engine is a plugin built into the program, registered by hand.
#define QT_STATICPLUGIN
#include "platform/png_icons.h"

#include <QIcon>
#include <QHash>
#include <QIconEnginePlugin>
#include <QImageIOPlugin>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QtPlugin>
#include <vector>

#include "platform/lazy_icon_engine.h"

namespace vitrandel::platform {
namespace {

// The files are read when the icon is first drawn or measured, as Qt's own
// engine would.
class PngIconEngine : public LazyIconEngine {
public:
    void addFile(const QString& fileName, const QSize&, QIcon::Mode mode, QIcon::State state) override {
        files_.push_back({fileName, mode, state});
        remake();
    }
    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override {
        icon().addPixmap(pixmap, mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("vitrandel-png"); }
    QIconEngine* clone() const override { return new PngIconEngine(*this); }

private:
    struct File {
        QString name;
        QIcon::Mode mode;
        QIcon::State state;
    };

    void make(QIcon& icon) override {
        for (const File& file : files_) {
            QImageReader reader(file.name, "png");
            reader.setAutoDetectImageFormat(false);
            const QImage image = reader.read();
            if (!image.isNull())
                icon.addPixmap(QPixmap::fromImage(image), file.mode, file.state);
        }
        files_.clear();
    }

    std::vector<File> files_;
};

} // namespace

class PngIconPlugin : public QIconEnginePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QIconEngineFactoryInterface_iid FILE "png_icons.json")
public:
    // Qt adds the file itself.
    QIconEngine* create(const QString&) override { return new PngIconEngine; }
};

// Qt reads an image file whose format it is not told by asking every image
// plugin whether it reads it, before its own decoders; so does a desktop
// icon theme's PNG, the moment a message box shows its icon. This plugin
// answers for the formats Qt decodes itself, told by their first bytes, and
// hands them to Qt's own decoder: no other plugin is asked, or loaded.
class BuiltinFormatsPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "builtin_formats.json")
public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
        // Asked again by the reader below: Qt's own decoder is to answer.
        if (handing_ || !signatures().contains(format))
            return {};
        if (!device)
            return CanRead;
        return device->isReadable() && device->peek(8).startsWith(signatures().value(format)) ? CanRead
                                                                                             : Capabilities();
    }
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
        auto* handler = new Handler;
        handler->setDevice(device);
        handler->setFormat(format);
        return handler;
    }

private:
    static const QHash<QByteArray, QByteArray>& signatures() {
        static const QHash<QByteArray, QByteArray> known{
            {"png", QByteArrayLiteral("\x89PNG\r\n\x1A\n")}, {"bmp", "BM"}, {"xpm", "/* XPM"}};
        return known;
    }

    class Handler : public QImageIOHandler {
    public:
        bool canRead() const override {
            return device() && device()->peek(8).startsWith(signatures().value(format()));
        }
        bool read(QImage* image) override {
            handing_ = true;
            QImageReader reader(device(), format());
            reader.setAutoDetectImageFormat(false);
            *image = reader.read();
            handing_ = false;
            return !image->isNull();
        }
    };

    static thread_local bool handing_;
};

thread_local bool BuiltinFormatsPlugin::handing_ = false;

} // namespace vitrandel::platform

#include "png_icons.moc"

namespace vitrandel::platform {

void readIconsAsPng() {
    static bool done = false;
    if (!done) {
        qRegisterStaticPluginFunction(qt_static_plugin_PngIconPlugin());
        qRegisterStaticPluginFunction(qt_static_plugin_BuiltinFormatsPlugin());
    }
    done = true;
}

} // namespace vitrandel::platform
