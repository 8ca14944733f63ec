// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/style.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

#include "platform/lazy_icon_engine.h"

namespace vitrandel::platform {
namespace {

const char* const kGroupBoxFrame = ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";

// Fusion's own measures for the frame: the space above it, and the corners
// of the picture that are never stretched.
constexpr int kGroupBoxTopMargin = 3;
const QMargins kFrameCorners(6, 6, 6, 6);

// An icon the style makes only once it is drawn or measured.
class DeferredIconEngine : public LazyIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    bool isNull() override { return made() && icon().isNull(); }
    QString key() const override { return QStringLiteral("vitrandel-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    void make(QIcon& icon) override {
        // A style changed since leaves the icon empty; Qt gives the widgets
        // of a new style icons of its own.
        if (style_)
            icon = style_->standardIcon(which_);
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
};

class ProgramStyle : public QProxyStyle {
public:
    explicit ProgramStyle(QStyle* base) : QProxyStyle(base) {
        if (baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            return;
        QImageReader reader(QString::fromLatin1(kGroupBoxFrame), "png");
        reader.setAutoDetectImageFormat(false);
        frame_ = QPixmap::fromImage(reader.read());
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox || frame_.isNull()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // An untitled box that cannot be ticked keeps no room for a caption.
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        int topMargin = kGroupBoxTopMargin;
        if (!box || box->isCheckable() || !box->title().isEmpty())
            topMargin += qMax(proxy()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
        qDrawBorderPixmap(painter, option->rect.adjusted(0, topMargin, 0, 0), kFrameCorners, frame_);
    }

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new DeferredIconEngine(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }

private:
    QPixmap frame_;
};

} // namespace

void useProgramStyle(QApplication&) {
    // The style Qt picked, the -style option and QT_STYLE_OVERRIDE included.
    QStyle* chosen = QStyleFactory::create(QApplication::style()->name());
    if (chosen)
        QApplication::setStyle(new ProgramStyle(chosen));
}

} // namespace vitrandel::platform
