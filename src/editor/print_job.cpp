// SPDX-License-Identifier: GPL-2.0-or-later
#include "editor/print_job.h"

#include <QBuffer>
#include <QDataStream>
#include <QPageLayout>
#include <QPageRanges>
#include <QPrintEngine>
#include <QPrinter>
#include <limits>

namespace vitrandel {
namespace {

constexpr quint32 kMagic = 0x56504a31; // "VPJ1"
constexpr auto kStreamVersion = QDataStream::Qt_6_0;
constexpr int kMostPages = std::numeric_limits<qint32>::max();

// Where Qt's CUPS print dialog keeps the options it has no QPrinter setter
// for (pages per sheet, odd or even pages, banners...): key, value, key...
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Written as the plain numbers Qt's enums are, and read back only within them.
template <typename Enum> void putEnum(QDataStream& out, Enum value) { out << qint32(value); }

template <typename Enum> bool takeEnum(QDataStream& in, Enum& value, Enum last) {
    qint32 number = -1;
    in >> number;
    if (in.status() != QDataStream::Ok || number < 0 || number > qint32(last))
        return false;
    value = Enum(number);
    return true;
}

bool takeNumber(QDataStream& in, int& value, int least, int most) {
    qint32 number = 0;
    in >> number;
    if (in.status() != QDataStream::Ok || number < least || number > most)
        return false;
    value = number;
    return true;
}

void putPageLayout(QDataStream& out, const QPageLayout& layout) {
    const QPageSize size = layout.pageSize();
    putEnum(out, size.id());
    out << size.definitionSize() << size.name();
    putEnum(out, size.definitionUnits());
    putEnum(out, layout.orientation());
    putEnum(out, layout.units());
    putEnum(out, layout.mode());
    out << layout.minimumMargins() << layout.margins();
}

bool takePageLayout(QDataStream& in, QPageLayout& layout) {
    QPageSize::PageSizeId id{};
    QSizeF definition;
    QString name;
    QPageSize::Unit sizeUnits{};
    QPageLayout::Orientation orientation{};
    QPageLayout::Unit units{};
    QPageLayout::Mode mode{};
    QMarginsF least, margins;
    if (!takeEnum(in, id, QPageSize::LastPageSize))
        return false;
    in >> definition >> name;
    if (!takeEnum(in, sizeUnits, QPageSize::Cicero) || !takeEnum(in, orientation, QPageLayout::Landscape) ||
        !takeEnum(in, units, QPageLayout::Cicero) || !takeEnum(in, mode, QPageLayout::FullPageMode))
        return false;
    in >> least >> margins;
    if (in.status() != QDataStream::Ok)
        return false;
    // A printer's own paper keeps its name and size, whatever Qt calls it.
    const QPageSize size = id == QPageSize::Custom
                               ? QPageSize(definition, sizeUnits, name, QPageSize::ExactMatch)
                               : QPageSize(id);
    layout = QPageLayout(size, orientation, margins, units, least);
    layout.setMode(mode);
    return layout.isValid();
}

} // namespace

QByteArray writePrintJob(const PrintJob& job, const QPrinter& printer) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kMagic << job.listing << job.listingPath << job.workingFolder << job.font << job.palette;

    putEnum(out, printer.outputFormat());
    out << printer.printerName() << printer.outputFileName() << printer.docName() << printer.creator();
    putEnum(out, printer.printRange());
    out << qint32(printer.fromPage()) << qint32(printer.toPage()) << printer.pageRanges();
    out << qint32(printer.copyCount()) << printer.collateCopies();
    putEnum(out, printer.duplex());
    putEnum(out, printer.colorMode());
    putEnum(out, printer.pageOrder());
    putEnum(out, printer.paperSource());
    out << qint32(printer.resolution()) << printer.fullPage();
    putPageLayout(out, printer.pageLayout());
    out << printer.printEngine()->property(kCupsOptions).toStringList();
    return bytes;
}

bool readPrintJob(const QByteArray& bytes, PrintJob& job, QPrinter& printer) {
    QDataStream in(bytes);
    in.setVersion(kStreamVersion);
    quint32 magic = 0;
    in >> magic;
    if (magic != kMagic)
        return false;
    in >> job.listing >> job.listingPath >> job.workingFolder >> job.font >> job.palette;

    QPrinter::OutputFormat format{};
    QString printerName, fileName, docName, creator;
    if (!takeEnum(in, format, QPrinter::PdfFormat))
        return false;
    in >> printerName >> fileName >> docName >> creator;

    QPrinter::PrintRange range{};
    int from = 0, to = 0, copies = 1, resolution = 0;
    QPageRanges ranges;
    bool collate = false, fullPage = false;
    if (!takeEnum(in, range, QPrinter::CurrentPage) || !takeNumber(in, from, 0, kMostPages) ||
        !takeNumber(in, to, 0, kMostPages))
        return false;
    in >> ranges;
    if (!takeNumber(in, copies, 1, 9999))
        return false;
    in >> collate;

    QPrinter::DuplexMode duplex{};
    QPrinter::ColorMode colour{};
    QPrinter::PageOrder order{};
    QPrinter::PaperSource source{};
    if (!takeEnum(in, duplex, QPrinter::DuplexShortSide) || !takeEnum(in, colour, QPrinter::Color) ||
        !takeEnum(in, order, QPrinter::LastPageFirst) || !takeEnum(in, source, QPrinter::LastPaperSource) ||
        !takeNumber(in, resolution, 1, 100000))
        return false;
    in >> fullPage;

    QPageLayout layout;
    QStringList cupsOptions;
    if (!takePageLayout(in, layout))
        return false;
    in >> cupsOptions;
    if (in.status() != QDataStream::Ok || !in.atEnd() || cupsOptions.size() % 2 != 0)
        return false;

    // Each of these starts the printer afresh: first the printer itself,
    // then the file (a name ending in .pdf would choose the format), then
    // everything the user chose for it.
    printer.setOutputFormat(format);
    if (format == QPrinter::NativeFormat)
        printer.setPrinterName(printerName);
    if (!fileName.isEmpty())
        printer.setOutputFileName(fileName);
    if (printer.outputFormat() != format)
        return false;
    printer.setDocName(docName);
    printer.setCreator(creator);
    printer.setResolution(resolution);
    printer.setFullPage(fullPage);
    if (!printer.setPageLayout(layout))
        return false;
    printer.setPrintRange(range);
    if (from > 0 && to >= from)
        printer.setFromTo(from, to);
    printer.setPageRanges(ranges);
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    printer.setDuplex(duplex);
    printer.setColorMode(colour);
    printer.setPageOrder(order);
    printer.setPaperSource(source);
    if (!cupsOptions.isEmpty())
        printer.printEngine()->setProperty(kCupsOptions, cupsOptions);
    return true;
}

} // namespace vitrandel
