// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The metafile helper draws a stranger's file with C libraries; once its
// toolkit is up and before it reads a byte of the file, it shuts itself in:
// from then on it may read files, draw, start threads and write to the pipes
// it was given, and nothing else. Opening a file for writing, starting a
// process, running a program or opening a socket fails with EPERM.
namespace vitrandel::pictures {

// False when the system refused the filter; the helper then draws nothing.
bool enterPictureSandbox();

} // namespace vitrandel::pictures
