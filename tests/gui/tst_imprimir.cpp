// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

#include "editor/index_printer.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/text.h"
#include "support/dialog_test.h"
#include "support/gui_test.h"

using namespace vitrandel;
using namespace vitrandel_test_support;

namespace {

void savePicture(const QString& path, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

QString longText(const char* words, int paragraphs) {
    QStringList lines;
    for (int i = 0; i < paragraphs; ++i)
        lines << QString::fromUtf8(words).repeated(12);
    return lines.join(QStringLiteral("\r\n"));
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    // Page objects, not the page tree ("/Type /Pages").
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

} // namespace

class TestImprimir : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<CurrentDirRestorer> restore_;

private Q_SLOTS:
    void initTestCase() {
        startGuiTest();
        restore_ = std::make_unique<CurrentDirRestorer>();
        QDir::setCurrent(dir_.path());
    }
    void cleanup() { VITRANDEL_VERIFY_NO_UNANSWERED_BOXES(); }
    void cleanupTestCase() { restore_.reset(); }

    // The whole listing goes to a PDF through the menu, the preview's Print
    // button and the print dialog; the preview, the file and the layout agree
    // on the pages, and no picture is cut by a page's edge.
    void printingAListingToPdf() {
        QDir(dir_.path()).mkdir(QStringLiteral("Fotos"));
        savePicture(dir_.filePath(QStringLiteral("Fotos/torre.png")), {300, 2400}, Qt::darkBlue);
        savePicture(dir_.filePath(QStringLiteral("Fotos/panorama.png")), {2000, 500}, Qt::darkGreen);
        for (const char* name : {"a", "b", "c"})
            savePicture(dir_.filePath(QStringLiteral("Fotos/%1.png").arg(QLatin1String(name))),
                        {400, 650}, Qt::darkRed);

        Project& p = project();
        p = Project{};
        p.title = "Fotos del viaje";
        p.categoryCount = 2;
        p.categories[0] = "Paisajes";
        p.categories[1] = "Notas";
        const std::string essay = platform::ss(longText("Un texto largo que sigue y sigue. ", 14));
        p.elements[0] = {.name = "Torre", .description = "Alta\r\nmuy alta", .imagePath = "fotos\\TORRE.png",
                         .category = 1, .fontName = "Arial", .fontSize = 12, .textColor = 0xFF};
        p.elements[1] = {.name = "Panorama", .imagePath = "Fotos\\panorama.png", .fitImage = kTrue,
                         .category = 1};
        p.elements[2] = {.name = "Primera", .imagePath = "Fotos\\a.png", .category = 1};
        p.elements[3] = {.name = "Segunda", .imagePath = "Fotos\\b.png", .category = 1};
        p.elements[4] = {.name = "Tercera", .description = essay, .imagePath = "Fotos\\c.png",
                         .category = 1, .fontName = "Cara sin instalar", .fontBold = kTrue};
        p.elements[5] = {.name = "Diario", .description = essay, .category = 2, .fontName = "Times New Roman",
                         .fontSize = 14, .fontItalic = kTrue};
        p.elements[6] = {.name = "Suelto", .description = "Sin categoría", .fontName = "Courier New"};
        p.elements[7] = {.name = "Huérfano", .description = "Su categoría ya no existe", .category = 9};
        p.elementCount = 8;

        principal w;
        w.show();
        const QString pdf = dir_.filePath(QStringLiteral("índice.pdf"));
        int previewPages = 0;
        QPageLayout printed;
        onNextDialog([&](QDialog& preview) {
            auto* pages = preview.findChild<QPrintPreviewWidget*>();
            QVERIFY(pages);
            QTRY_VERIFY(pages->pageCount() > 0);
            previewPages = pages->pageCount();
            auto* print = preview.findChild<QAction*>(QStringLiteral("vista_previa_imprimir"));
            QVERIFY(print);
            print->trigger();
            QVERIFY(!preview.isVisible());
        });
        onNextDialog([&](QDialog& d) {
            auto& dialog = dynamic_cast<QPrintDialog&>(d);
            auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
            QVERIFY(printers);
            const int toFile = printers->findText(QStringLiteral("PDF"), Qt::MatchContains);
            QVERIFY(toFile >= 0);
            printers->setCurrentIndex(toFile);
            dialog.findChild<QLineEdit*>(QStringLiteral("filename"))->setText(pdf);
            QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
            printed = dialog.printer()->pageLayout();
        });
        w.archivo_imprimir->trigger();

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(printed);
        const PrintedIndex index(project(), printer);
        QVERIFY(index.pageCount() >= 5);
        QCOMPARE(previewPages, index.pageCount());
        QCOMPARE(pdfPages(pdf), index.pageCount());
        QCOMPARE(project().modified, kFalse);

        const auto pictures = index.pictures();
        QCOMPARE(pictures.size(), std::size_t(5));
        const QSizeF page = index.pageArea();
        const double pixel = printer.resolution() / 96.0;
        for (const auto& picture : pictures) {
            QVERIFY(picture.rect.top() >= 0);
            QVERIFY(picture.rect.bottom() <= page.height() + 0.5);
            QVERIFY(picture.rect.width() <= page.width() + 0.5);
            // Proportions are kept whatever the shrinking.
            QCOMPARE(qRound(picture.rect.width() * picture.pixels.height() / picture.rect.height()),
                     picture.pixels.width());
        }
        // The tower is shrunk to one page below its name; the panorama to the
        // page's width; the others keep their own size, one page each as they
        // cannot share.
        QVERIFY(pictures[0].rect.top() > 0);
        QCOMPARE(pictures[0].rect.bottom(), page.height());
        QCOMPARE(pictures[1].rect.width(), page.width());
        for (std::size_t i = 2; i < 5; ++i)
            QCOMPARE(pictures[i].rect.size(), QSizeF(400, 650) * pixel);
        QVERIFY(pictures[2].page < pictures[3].page && pictures[3].page < pictures[4].page);
    }
};

QTEST_MAIN(TestImprimir)
#include "tst_imprimir.moc"
