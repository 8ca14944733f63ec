// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/colors.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QWidget>
#include <array>

namespace vitrandel::platform {
namespace {

struct SystemColour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed as Windows numbers its system colours (COLOR_SCROLLBAR = 0 ...).
// COLOR_WINDOW is the background of text boxes, which Qt calls Base.
constexpr std::array<SystemColour, 31> kSystemColours{{
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Dark},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 tooltip background
    {QPalette::Active, QPalette::Text},             // 25 unused by Windows
    {QPalette::Active, QPalette::Link},             // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},        // 27 active caption gradient
    {QPalette::Inactive, QPalette::Mid},            // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
}};

constexpr std::uint32_t kSystemColourFlag = 0x80000000u;

const char* const kOnPaper = "vitrandel_on_paper";

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

// Follows the desktop's palette: paper while it is dark, the desktop's own otherwise.
class PaperKeeper : public QObject {
public:
    using QObject::QObject;
    static void apply(QWidget* w) {
        const bool dark = isDark(QApplication::palette());
        w->setProperty(kOnPaper, dark);
        w->setPalette(dark ? paperPalette() : QPalette());
        w->setAutoFillBackground(dark);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange)
            apply(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

QPalette paperPalette() {
    QPalette paper = QApplication::style()->standardPalette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    return paper;
}

void usePaper(QWidget* w) {
    PaperKeeper::apply(w);
    w->installEventFilter(new PaperKeeper(w));
}

QColor colorFromListing(std::int32_t value, const QPalette& palette) {
    const auto bits = static_cast<std::uint32_t>(value);
    if (value >= 0)
        return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
    const std::uint32_t index = bits & ~kSystemColourFlag;
    if (index < kSystemColours.size()) {
        const SystemColour& c = kSystemColours[index];
        return palette.color(c.group, c.role);
    }
    return palette.color(QPalette::Active, QPalette::Text);
}

std::int32_t listingFromColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::int32_t>(std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
                                     (std::uint32_t(rgb.blue()) << 16));
}

void applyTextColor(QWidget* textBox, std::int32_t value) {
    // On paper, system colours are the paper's.
    const bool onPaper = textBox->property(kOnPaper).toBool() ||
                         (textBox->parentWidget() && textBox->parentWidget()->property(kOnPaper).toBool());
    const QPalette system = onPaper ? paperPalette() : QApplication::palette(textBox);
    QColor colour = colorFromListing(value, system);
    // Reading a listing turns every negative colour into the text boxes'
    // background colour; drawn as text it would be invisible.
    if (colour.rgba() == textBox->palette().color(QPalette::Base).rgba())
        colour = system.color(QPalette::Active, QPalette::Text);
    QPalette palette = textBox->palette();
    palette.setColor(QPalette::Text, colour);
    textBox->setPalette(palette);
}

} // namespace vitrandel::platform
