// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>
#include <optional>
#include <vector>

namespace vitrandel::platform {
namespace {

bool isInput(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

// Inputs of the window's own, not the parts that make up another input (a
// drop-down list's line edit and popup list).
bool isOwnInput(const QWidget* w, const QWidget* window) {
    if (!isInput(w))
        return false;
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (isInput(p))
            return false;
    return true;
}

QString captionOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (const auto* box = qobject_cast<const QAbstractButton*>(w);
        box && box->isCheckable() && !box->text().isEmpty())
        return box->text();
    return {};
}

// How far `caption` is from `control` when it sits at its left on its row
// (`beside`) or just above it; nothing when it is neither.
std::optional<int> distance(const QRect& caption, const QRect& control, bool beside) {
    constexpr int slack = 4;
    if (beside) {
        // A caption may be wider than its words and reach under its control.
        const int middle = caption.center().y();
        if (caption.left() < control.left() && middle >= control.top() - slack &&
            middle <= control.bottom() + slack)
            return control.left() - caption.left();
        return std::nullopt;
    }
    const int gap = control.top() - caption.bottom();
    if (gap >= -slack && gap <= caption.height() / 2 && caption.left() < control.right() &&
        caption.right() > control.left())
        return gap;
    return std::nullopt;
}

// The title of the frame a control lies in, by parentage or by place; else the window's.
QString frameTitle(const QWidget* control, const QWidget* window) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(control->parentWidget()))
        return frame->title();
    for (const QGroupBox* frame :
         control->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        if (frame->geometry().contains(control->geometry()))
            return frame->title();
    return window->windowTitle();
}

} // namespace

QString spokenName(const QString& caption) {
    QString name = caption;
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    name = name.trimmed();
    while (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

void nameControls(QWidget* window) {
    std::vector<QWidget*> controls;
    std::vector<const QWidget*> captions;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (isOwnInput(w, window))
            controls.push_back(w);
        else if (!captionOf(w).isEmpty())
            captions.push_back(w);
    }
    std::vector<const QWidget*> used;
    std::vector<QWidget*> unnamed;
    // Captions at the left first: a caption above a control may be the one
    // at the left of another.
    for (const bool beside : {true, false}) {
        for (QWidget* control : controls) {
            if (std::find(unnamed.begin(), unnamed.end(), control) == unnamed.end() && !beside)
                continue;
            const QWidget* best = nullptr;
            int bestDistance = 0;
            for (const QWidget* caption : captions) {
                if (caption->parentWidget() != control->parentWidget() ||
                    std::find(used.begin(), used.end(), caption) != used.end())
                    continue;
                const auto d = distance(caption->geometry(), control->geometry(), beside);
                if (d && (!best || *d < bestDistance)) {
                    best = caption;
                    bestDistance = *d;
                }
            }
            if (best) {
                used.push_back(best);
                control->setAccessibleName(spokenName(captionOf(best)));
                // Read by the caption also where the name of a drop-down
                // list is its entry; a mnemonic in it now moves to the control.
                if (auto* label = qobject_cast<QLabel*>(const_cast<QWidget*>(best));
                    label && !label->buddy()) {
                    label->setBuddy(control);
                    label->setAccessibleName(control->accessibleName());
                }
                unnamed.erase(std::remove(unnamed.begin(), unnamed.end(), control), unnamed.end());
            } else if (beside) {
                unnamed.push_back(control);
            }
        }
    }
    for (QWidget* control : unnamed) {
        if (!control->accessibleName().isEmpty())
            continue;
        control->setAccessibleName(spokenName(frameTitle(control, window)));
    }
}

namespace {

class Namer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && !w->property(kNamed).toBool()) {
                w->setProperty(kNamed, true);
                nameControls(w);
            }
        }
        return false;
    }

private:
    static constexpr const char* kNamed = "vitrandel_named";
};

} // namespace

void useAccessibleNames(QApplication& app) {
    static Namer* namer = nullptr;
    if (namer)
        return;
    namer = new Namer(&app);
    app.installEventFilter(namer);
}

} // namespace vitrandel::platform
