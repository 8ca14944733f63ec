// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <memory>

#include "description/editar_desc.h"
#include "description/fuentes.h"
#include "dialogs/buscar_form.h"
#include "dialogs/cambiar_categoria_form.h"
#include "dialogs/cambio_dir.h"
#include "dialogs/com_dlg.h"
#include "dialogs/editar_categorias.h"
#include "dialogs/opciones_form.h"
#include "dialogs/preguntar_nombre.h"
#include "dialogs/preguntar_password.h"
#include "editor/acerca_form.h"
#include "editor/principal.h"
#include "model/project.h"
#include "platform/application.h"
#include "support/gui_test.h"
#include "viewer/ejecucion_form.h"

using namespace vitrandel;
using namespace Qt::StringLiterals;

namespace {

struct Ink {
    qint64 pixels = 0;
    int height = 0; // of the tallest caption
};

Ink inkOf(const QImage& image) {
    Ink ink;
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ++ink.pixels;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ink.height = bottom < top ? 0 : bottom - top + 1;
    return ink;
}

QImage canvas(QSize size, qreal ratio) {
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

// A caption in its control's font, as the control draws it at `ratio`.
Ink captionInk(const QWidget* w, QString text, qreal ratio) {
    text.remove(u'&');
    QImage image = canvas(w->fontMetrics().size(0, text) + QSize(4, 4), ratio);
    QPainter painter(&image);
    painter.setFont(w->font());
    painter.setPen(Qt::black);
    painter.drawText(QPoint(2, 2 + w->fontMetrics().ascent()), text);
    painter.end();
    return inkOf(image);
}

// The captions of a window, and the description text where it has one.
Ink textInk(QWidget* window, qreal ratio) {
    Ink total;
    auto add = [&](const Ink& ink) {
        total.pixels += ink.pixels;
        total.height = std::max(total.height, ink.height);
    };
    for (QLabel* label : window->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            add(captionInk(label, label->text(), ratio));
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (!button->text().isEmpty())
            add(captionInk(button, button->text(), ratio));
    for (QPlainTextEdit* text : window->findChildren<QPlainTextEdit*>())
        if (!text->toPlainText().isEmpty() && text->isVisibleTo(window)) {
            QImage image = canvas(text->viewport()->size(), ratio);
            text->viewport()->render(&image);
            add(inkOf(image));
        }
    return total;
}

// Captions wider than their control, as "Label1 'Nombre :' 130 > 120".
QStringList clippedCaptions(QWidget* window) {
    QStringList clipped;
    auto check = [&](QWidget* w, QString text, int room) {
        text.remove(u'&');
        const int needed = w->fontMetrics().horizontalAdvance(text);
        if (needed > room)
            clipped << u"%1 '%2' %3 > %4"_s.arg(w->objectName(), text).arg(needed).arg(room);
    };
    for (QLabel* label : window->findChildren<QLabel*>())
        if (!label->wordWrap() && !label->text().contains(u'\n'))
            check(label, label->text(), label->contentsRect().width());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (!button->objectName().isEmpty() && !button->objectName().startsWith(u"qt_"))
            check(button, button->text(),
                  button->width() -
                      (qobject_cast<QPushButton*>(button) ? 4 : button->iconSize().width() + 4));
    return clipped;
}

using Maker = std::function<std::unique_ptr<QWidget>()>;

template <typename W> Maker make() {
    return [] { return std::make_unique<W>(); };
}

// The viewer with an element in the face a description falls back to.
std::unique_ptr<QWidget> viewerShowingFixedsys() {
    Project& p = project();
    p = Project{};
    p.elementCount = 1;
    p.elements[0] = Element{.name = "uno",
                            .description = "Léame primero, listado de elementos",
                            .fontName = "Fixedsys",
                            .fontSize = 10};
    auto viewer = std::make_unique<ejecucion_form>();
    viewer->findChild<QListWidget*>(u"listado"_s)->setCurrentRow(0);
    return viewer;
}

} // namespace

class TestTextAtScale : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        vitrandel_test_support::startGuiTest();
        platform::useDesignFont(*qApp);
        exchange().fileDlgCaption = "Abrir...";
        exchange().dirDlgStart = ".";
    }
    void cleanup() {
        platform::drawTextForRatio(1);
        VITRANDEL_VERIFY_NO_UNANSWERED_BOXES();
    }

    void textGrowsWithTheRatio_data() {
        QTest::addColumn<Maker>("maker");
        QTest::newRow("ejecucion_form") << Maker(viewerShowingFixedsys);
        QTest::newRow("principal") << make<principal>();
        QTest::newRow("editar_desc") << make<editar_desc>();
        QTest::newRow("fuentes") << make<fuentes>();
        QTest::newRow("acerca_form") << make<acerca_form>();
        QTest::newRow("buscar_form")
            << Maker([] { return std::make_unique<buscar_form>(nullptr); });
        QTest::newRow("com_dlg") << make<com_dlg>();
        QTest::newRow("cambio_dir") << make<cambio_dir>();
        QTest::newRow("opciones_form") << make<opciones_form>();
        QTest::newRow("preguntar_nombre") << make<preguntar_nombre>();
        QTest::newRow("preguntar_password") << make<preguntar_password>();
        QTest::newRow("editar_categorias") << make<editar_categorias>();
        QTest::newRow("cambiar_categoria_form") << make<cambiar_categoria_form>();
    }
    // At twice the device pixels a caption has four times the ink and twice
    // the height, in a face whose letters fit their controls at both ratios.
    void textGrowsWithTheRatio() {
        QFETCH(Maker, maker);
        const auto atOne = maker();
        const Ink one = textInk(atOne.get(), 1);
        QVERIFY(one.pixels > 0);
        QCOMPARE(clippedCaptions(atOne.get()), QStringList());

        platform::drawTextForRatio(2);
        const auto atTwo = maker();
        const Ink two = textInk(atTwo.get(), 2);
        const double area = double(two.pixels) / double(one.pixels);
        const double height = double(two.height) / double(one.height);
        QVERIFY2(area > 3 && area < 5.5,
                 qPrintable(u"ink %1 -> %2"_s.arg(one.pixels).arg(two.pixels)));
        QVERIFY2(height > 1.6 && height < 2.4,
                 qPrintable(u"height %1 -> %2"_s.arg(one.height).arg(two.height)));
        QCOMPARE(clippedCaptions(atTwo.get()), QStringList());
    }
};

QTEST_MAIN(TestTextAtScale)
#include "tst_text_at_scale.moc"
