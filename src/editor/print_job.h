// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QFont>
#include <QPalette>
#include <QString>

class QPrinter;

// What the program hands the process that prints for it: the listing as it
// stands, where its pictures are found, what its text is drawn with, and the
// printer as the user set it up in the print dialog.
namespace vitrandel {

struct PrintJob {
    QByteArray listing; // a listing file's bytes, unsaved edits included
    QString listingPath;
    QString workingFolder;
    // The application's font and palette, which the descriptions' faces and
    // system colours start from.
    QFont font;
    QPalette palette;
};

QByteArray writePrintJob(const PrintJob& job, const QPrinter& printer);

// Fills `job` and sets `printer` up; false for anything the program would not
// have written, in which case neither is to be used.
bool readPrintJob(const QByteArray& bytes, PrintJob& job, QPrinter& printer);

} // namespace vitrandel
