// SPDX-License-Identifier: GPL-2.0-or-later
#include <QPageRanges>
#include <QPrinter>
#include <QtTest>

#include "editor/print_job.h"
#include "editor/print_process.h"
#include "model/project.h"
#include "support/gui_test.h"

using namespace vitrandel;

// What the program hands its print process: the printer comes back as the
// print dialog left it, and anything else is refused.
class TestPrintJob : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { vitrandel_test_support::startGuiTest(); }

    void thePrinterArrivesAsSetUp() {
        QPrinter chosen(QPrinter::HighResolution);
        chosen.setOutputFormat(QPrinter::PdfFormat);
        chosen.setOutputFileName(QStringLiteral("/tmp/índice de fotos.pdf"));
        chosen.setDocName(QStringLiteral("Fotos del viaje"));
        chosen.setCreator(QStringLiteral("Vitrandel"));
        chosen.setResolution(600);
        chosen.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                                         QMarginsF(10, 15, 20, 25), QPageLayout::Millimeter));
        chosen.setPrintRange(QPrinter::PageRange);
        chosen.setPageRanges(QPageRanges::fromString(QStringLiteral("2-3,5")));
        chosen.setCopyCount(3);
        chosen.setCollateCopies(true);
        chosen.setDuplex(QPrinter::DuplexLongSide);
        chosen.setColorMode(QPrinter::GrayScale);
        chosen.setPageOrder(QPrinter::LastPageFirst);
        chosen.setPaperSource(QPrinter::Manual);
        QFont font(QStringLiteral("Tahoma"), 8);
        QPalette palette;
        palette.setColor(QPalette::Text, Qt::darkGreen);
        const PrintJob job{"titulo=Fotos\r\n", QStringLiteral("/discos/fotos.lst"), QStringLiteral("/discos"),
                           font, palette};
        const QByteArray bytes = writePrintJob(job, chosen);

        PrintJob got;
        QPrinter printer(QPrinter::HighResolution);
        QVERIFY(readPrintJob(bytes, got, printer));
        QCOMPARE(got.listing, job.listing);
        QCOMPARE(got.listingPath, job.listingPath);
        QCOMPARE(got.workingFolder, job.workingFolder);
        QCOMPARE(got.font, font);
        QCOMPARE(got.palette.color(QPalette::Text), QColor(Qt::darkGreen));
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.fullPage(), chosen.fullPage());
        QCOMPARE(printer.outputFileName(), chosen.outputFileName());
        QCOMPARE(printer.docName(), chosen.docName());
        QCOMPARE(printer.creator(), chosen.creator());
        QCOMPARE(printer.resolution(), chosen.resolution());
        QVERIFY(printer.pageLayout().isEquivalentTo(chosen.pageLayout()));
        QCOMPARE(printer.printRange(), chosen.printRange());
        QCOMPARE(printer.pageRanges(), chosen.pageRanges());
        QCOMPARE(printer.copyCount(), chosen.copyCount());
        QCOMPARE(printer.collateCopies(), chosen.collateCopies());
        // Qt keeps duplex, which a PDF file has no use for, only for a printer.
        QCOMPARE(printer.duplex(), chosen.duplex());
        QCOMPARE(printer.colorMode(), chosen.colorMode());
        QCOMPARE(printer.pageOrder(), chosen.pageOrder());
        QCOMPARE(printer.paperSource(), chosen.paperSource());

        // Cut short, lengthened or from something else.
        for (const QByteArray& wrong : {bytes.left(bytes.size() - 1), bytes + '\0', "x" + bytes.mid(1), QByteArray()}) {
            QPrinter other;
            QVERIFY(!readPrintJob(wrong, got, other));
        }
    }

    // The print process says when it could not print, and the program hears it.
    void aFileThatCannotBeWrittenIsNotPrinted() {
        project() = Project{};
        project().title = "Fotos";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("/no-existe/indice.pdf"));
        QVERIFY(!printIndex(printer));
    }
};

QTEST_MAIN(TestPrintJob)
#include "tst_print_job.moc"
