// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Qt's own windows (the print dialog, the print preview, the file dialog)
// give their buttons pictures from Qt's resources, made into icons from their
// file names. Qt reads such a file by asking every image plugin in turn
// whether it reads it, which loads them all, and the JPEG library behind one,
// into the program, which decodes no picture itself. An icon engine of the
// program's, which Qt asks first for a file whose name ends in ".png", reads
// those files as the PNG they are.
namespace vitrandel::platform {

// Called once, before the first window.
void readIconsAsPng();

} // namespace vitrandel::platform
