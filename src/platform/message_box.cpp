// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <deque>

namespace vitrandel::platform {
namespace {

struct SeamState {
    bool testMode = false;
    std::deque<int> answers;
    QList<ShownMessage> shown;
    int unanswered = 0;
};

SeamState& seam() {
    static SeamState s;
    return s;
}

// What a box closed without a choice answers: the safe way out.
int unansweredResult(int style) {
    switch (style & 0x0F) {
    case vbYesNoCancel: return vbCancel;
    case vbYesNo: return vbNo;
    default: return vbOK;
    }
}

int showReal(const QString& text, int style) {
    QMessageBox box(QApplication::activeWindow());
    prepareMessageBox(box, text, style);
    switch (box.exec()) {
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    case QMessageBox::Cancel: return vbCancel;
    default: return unansweredResult(style);
    }
}

} // namespace

void prepareMessageBox(QMessageBox& box, const QString& text, int style) {
    box.setWindowTitle(QStringLiteral("Vitrandel"));
    // File names and listing texts reach these boxes: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    const int icon = style & 0x70;
    if (icon == vbCritical)
        box.setIcon(QMessageBox::Critical);
    else if (icon == vbExclamation)
        box.setIcon(QMessageBox::Warning);
    else if (icon == vbQuestion)
        box.setIcon(QMessageBox::Question);
    if ((style & 0x0F) == vbYesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if ((style & 0x0F) == vbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((style & vbDefaultYes) ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
}

int msgBox(const QString& text, int style) {
    SeamState& s = seam();
    if (!s.answers.empty()) {
        const int answer = s.answers.front();
        s.answers.pop_front();
        s.shown.append({text, style, true});
        return answer;
    }
    if (s.testMode) {
        ++s.unanswered;
        s.shown.append({text, style, false});
        return unansweredResult(style);
    }
    return showReal(text, style);
}

void MessageBoxSeam::setTestMode(bool on) { seam().testMode = on; }
void MessageBoxSeam::setNextAnswer(int answer) { seam().answers.push_back(answer); }
bool MessageBoxSeam::hasQueuedAnswer() { return !seam().answers.empty(); }
QList<ShownMessage> MessageBoxSeam::takeShown() { return std::exchange(seam().shown, {}); }
int MessageBoxSeam::unansweredCount() { return seam().unanswered; }
void MessageBoxSeam::reset() {
    SeamState& s = seam();
    s.answers.clear();
    s.shown.clear();
    s.unanswered = 0;
}

} // namespace vitrandel::platform
