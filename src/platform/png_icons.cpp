// SPDX-License-Identifier: GPL-2.0-or-later
// The icon engine is a plugin built into the program, registered by hand.
#define QT_STATICPLUGIN
#include "platform/png_icons.h"

#include <QIcon>
#include <QIconEnginePlugin>
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

} // namespace vitrandel::platform

#include "png_icons.moc"

namespace vitrandel::platform {

void readIconsAsPng() {
    static bool done = false;
    if (!done)
        qRegisterStaticPluginFunction(qt_static_plugin_PngIconPlugin());
    done = true;
}

} // namespace vitrandel::platform
