// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QMessageBox;

// Every message box of the program goes through msgBox(), titled "Vitrandel".
// Tests queue the answer in advance; in test mode a box nobody answered is
// recorded (and not shown) so that the test can fail on it.
namespace vitrandel::platform {

enum MsgStyle : int {
    vbOKOnly = 0,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    // Not one of the platform's values: Yes as the default button of a
    // Yes/No box, where Enter otherwise answers No.
    vbDefaultYes = 0x10000,
};

enum MsgAnswer : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

int msgBox(const QString& text, int style);

// Title, text, icon and buttons of a real box for this style (what msgBox shows).
void prepareMessageBox(QMessageBox& box, const QString& text, int style);

struct ShownMessage {
    QString text;
    int style = 0;
    bool answered = false;
};

class MessageBoxSeam {
public:
    static void setTestMode(bool on);
    static void setNextAnswer(int answer);
    static bool hasQueuedAnswer();
    // Every box since the last call, answered or not.
    static QList<ShownMessage> takeShown();
    static int unansweredCount();
    static void reset();
};

} // namespace vitrandel::platform
