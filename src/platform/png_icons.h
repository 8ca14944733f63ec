// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt's own windows (the print dialog, the print preview, the file dialog)
// give their buttons pictures from Qt's resources, made into icons from their
// file names. Qt reads such a file by asking every image plugin in turn
// whether it reads it, which loads them all, and the JPEG library behind one,
// into the program, which decodes no picture itself; a desktop icon theme's
// PNG files, a message box's icon among them, are read the same way. An icon
// engine of the program's, which Qt asks first for a file whose name ends in
// ".png", reads those files as the PNG they are, and an image plugin of the
// program's answers for PNG, BMP and XPM files told by their first bytes, so
// that Qt's own decoders read them and no other plugin is asked.
namespace vitrandel::platform {

// Called once, before the first window.
void readIconsAsPng();

} // namespace vitrandel::platform
