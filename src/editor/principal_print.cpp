// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include "editor/index_printer.h"
#include "editor/principal.h"
#include "editor/print_process.h"
#include "model/project.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/text.h"

namespace vitrandel {
namespace {

// Qt's preview opens its print dialog itself, where no test can answer it;
// its Print button is found by its caption and given our own handler.
QAction* previewPrintButton(QPrintPreviewDialog& preview) {
    const QString caption = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* a : preview.findChildren<QAction*>())
        if (a->text() == caption)
            return a;
    return nullptr;
}

void previewIndex(QPrinter& printer) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    PrintedIndex(project(), printer).print();
    QGuiApplication::restoreOverrideCursor();
}

// A desktop's icon theme may have pictures for the preview's buttons, which
// Qt would read by asking every image plugin whether it reads them: the
// buttons keep Qt's own, which the program reads as the PNG files they are.
void useQtButtonPictures(QPrintPreviewDialog& preview) {
    for (QAction* a : preview.findChildren<QAction*>()) {
        const QString name = a->icon().name();
        if (name.isEmpty())
            continue;
        QIcon own;
        for (const int size : {24, 32})
            own.addFile(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-%2.png")
                            .arg(name)
                            .arg(size),
                        QSize(size, size));
        a->setIcon(own);
    }
}

// Names the print job, and the file Qt offers when printing to PDF.
QString documentName() {
    QString name = project().title.empty() ? QStringLiteral("Indice") : platform::qs(project().title);
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QLatin1Char('\\'), QLatin1Char('-'));
    return name;
}

} // namespace

void principal::archivo_imprimir_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName());
    printer.setCreator(QStringLiteral("Vitrandel"));

    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("vista_previa"));
    useQtButtonPictures(preview);
    // Room for a whole page at a readable size.
    preview.resize(screen()->availableSize() * 4 / 5);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [](QPrinter* shown) { previewIndex(*shown); });
    if (QAction* print = previewPrintButton(preview)) {
        print->setObjectName(QStringLiteral("vista_previa_imprimir"));
        disconnect(print, &QAction::triggered, nullptr, nullptr);
        connect(print, &QAction::triggered, &preview, [&preview, &printer] {
            QPrintDialog dialog(&printer, &preview);
            if (platform::execModal(dialog) != QDialog::Accepted)
                return;
            if (printIndex(printer))
                preview.accept();
            else
                platform::msgBox(QStringLiteral("No se pudo imprimir. Compruebe la impresora elegida "
                                                "o que se pueda escribir en el archivo."),
                                 platform::vbExclamation);
        });
    }
    platform::execModal(preview);
}

} // namespace vitrandel
