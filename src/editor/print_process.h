// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QPrinter;

// Printing happens in a short-lived process of the program's own. Qt's PDF
// writer, behind both a printer and a PDF file, asks every image plugin what
// it writes for each picture it embeds, which loads them all, and the JPEG
// library behind one; the program decodes no picture itself and maps none.
// The preview draws without that writer and stays in the program.
namespace vitrandel {

// The word on the command line that makes the program that process; not an
// option for users.
inline constexpr char kPrintJobSwitch[] = "--type=print";

// Prints the Project as it stands on `printer` as the print dialog left it,
// and waits with the wait cursor while the windows keep painting. False when
// nothing could be printed.
bool printIndex(QPrinter& printer);

// The program that prints; the running one unless a test names another.
void setPrintProgram(const QString& path);

// The print process's whole life: reads its job from standard input, prints
// it and answers with its exit status, 0 once the printer has it all.
int runPrintJob(char* program);

} // namespace vitrandel
