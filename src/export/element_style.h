// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>
#include <string>

#include "model/project.h"

// What an exported element looks like outside the program: the same face,
// colour, text and category the viewer shows, in terms that a browser or a
// spreadsheet understands.
namespace vitrandel {

// The text colour the viewer draws on a white text box: system colours
// resolved through `palette`, and one that would vanish into the
// background drawn in the palette's text colour instead.
QColor descriptionColour(std::int32_t value, const QPalette& palette);

// A palette whose text boxes are black on white, as the page and print
// always are, whatever the desktop's theme.
QPalette pagePalette(const QPalette& system);

// A CSS font-family list: the face itself, the stand-in this program draws
// it with, and the generic family a browser without either should use.
QString cssFontFamily(const std::string& face);

// The description with its line breaks as "\n" and without the control
// characters that no web page or spreadsheet cell can hold.
QString plainDescription(const std::string& text);

} // namespace vitrandel
