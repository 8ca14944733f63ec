// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>

#include "model/project.h"

// The screen fonts a description may name. Listings come from Windows, so a
// face counts as installed when fontconfig has it or a face with the same
// metrics standing in for it (Liberation Sans for Arial, Carlito for Calibri).
namespace vitrandel::platform {

// Every face the font chooser offers, sorted without regard to letter case:
// the installed families and the common Windows faces that have a stand-in.
const QStringList& installedFonts();

// Has fontconfig read its configuration, which the first text drawn needs.
// Called before QApplication: done there it costs a fraction of what it costs
// once the application has started its threads and connected to the desktop.
void readFontConfiguration();

// Makes the face the windows' captions are drawn in available, and only that
// face, so that a start pays for no other. Its family; empty when missing.
QString loadDesignFace();

// True when neither the face nor a metric-compatible stand-in is installed,
// without regard to letter case. An empty name is never installed.
bool fuente_no_instalada(const std::string& name);

// The family to give a widget that shows text in this face: the face itself
// or its stand-in, and "Fixedsys" for a face this machine lacks, which the
// description keeps for the machines that have it.
QString faceToDraw(const std::string& name);

// Device pixels per logical pixel that text is drawn for; 1 until set.
qreal textRatio();
void setTextRatio(qreal ratio);

// `font` as it draws crisply at `ratio`. Qt draws a bitmap-only face from the
// strike of its logical size whatever the ratio, so beyond 1 its glyphs stay
// small and are spread apart: there an outline face of the same metrics
// takes its place at the same point size. At 1 the font is unchanged.
QFont crispFont(QFont font, qreal ratio = textRatio());

// `base` in the element's face, size and style, as its description is drawn
// on a device of `ratio` (a printer's is its dots per inch over 96).
QFont elementFont(QFont base, const Element& e, qreal ratio = textRatio());

} // namespace vitrandel::platform
