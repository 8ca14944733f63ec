// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Which face the program shows: the index viewer for a listing named on the
// command line, the editor otherwise.
namespace vitrandel::startup {

enum class Face { Viewer, Editor };

struct Started {
    Face face;
    QWidget* window; // shown, deleted when closed
};

// The command line after the program's name, whole. The shell here has split
// it into words already; joined with single blanks they give back the text a
// Windows program would have been handed.
QString commandLineText(const QStringList& words);

// `arguments` excludes the program's name.
Started Main(const QStringList& arguments);

QWidget* showViewer();

// Enters the folder of a listing just read when the listing keeps the folder
// it is opened from, as that folder is then where its pictures are.
void enterListingFolder(const QString& path);
QWidget* showEditor();

// Runs `action` once, as soon as a widget of `window` has been painted.
void whenFirstPainted(QWidget* window, std::function<void()> action);

// With VITRANDEL_QUIT_AFTER_FIRST_PAINT=1 the program ends once `window` has
// been painted, so that a start can be timed from outside.
void quitAfterFirstPaintIfAsked(QWidget* window);

} // namespace vitrandel::startup
