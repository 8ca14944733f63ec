// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/buscar_form.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "model/project.h"
#include "platform/controls.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::twips;
using platform::twipsRect;

namespace {

constexpr int kPositionRole = Qt::UserRole;
// The element's name, by which a match is found again once elements before
// it have been deleted and it has moved up.
constexpr int kNameRole = Qt::UserRole + 1;

QString countText(const QString& text, std::size_t found) {
    if (text.isEmpty())
        return QString();
    if (found == 0)
        return QStringLiteral("Ningún elemento contiene ese texto.");
    if (found == 1)
        return QStringLiteral("1 elemento encontrado.");
    return QStringLiteral("%1 elementos encontrados.").arg(found);
}

} // namespace

buscar_form::buscar_form(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("buscar_form"));
    setWindowTitle(QStringLiteral("Buscar"));
    setFixedSize(twips(5400), twips(4215));

    Label1 = place(new QLabel(QStringLiteral("&Texto a buscar :"), this), "Label1",
                   twipsRect(120, 150, 1455, 255));
    texto = place(new QLineEdit(this), "texto", twipsRect(1560, 120, 3720, 315));
    Label1->setBuddy(texto);
    resultados = place(new QTreeWidget(this), "resultados", twipsRect(120, 600, 5160, 3135));
    resultados->setColumnCount(2);
    resultados->setHeaderLabels({QStringLiteral("Elemento"), QStringLiteral("Categoría")});
    resultados->header()->resizeSection(0, twips(3000));
    resultados->setRootIsDecorated(false);
    resultados->setUniformRowHeights(true);
    resultados->setSelectionMode(QAbstractItemView::SingleSelection);
    encontrados = place(new QLabel(this), "encontrados", twipsRect(120, 3840, 5160, 255));

    auto* siguiente = new QAction(this);
    siguiente->setObjectName(QStringLiteral("siguiente"));
    siguiente->setShortcut(Qt::Key_F3);
    addAction(siguiente);

    connect(texto, &QLineEdit::textChanged, this, &buscar_form::texto_Change);
    connect(texto, &QLineEdit::returnPressed, this, &buscar_form::texto_Enter);
    connect(resultados, &QTreeWidget::itemActivated, this, &buscar_form::resultados_Activate);
    connect(siguiente, &QAction::triggered, this, [this] { nextMatch(); });

    texto->setFocus();
}

bool buscar_form::event(QEvent* e) {
    // Back from the window that opened it, whose commands may have changed
    // or replaced the listing.
    if (e->type() == QEvent::WindowActivate)
        refresh();
    return QWidget::event(e);
}

void buscar_form::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    // From the text straight down into the matches, as in a browser's address bar.
    if (e->key() == Qt::Key_Down && texto->hasFocus() && resultados->topLevelItemCount() > 0) {
        resultados->setFocus();
        if (!resultados->currentItem())
            resultados->setCurrentItem(resultados->topLevelItem(0));
        return;
    }
    QWidget::keyPressEvent(e);
}

void buscar_form::present() {
    show();
    raise();
    activateWindow();
    texto->setFocus();
    texto->selectAll();
}

void buscar_form::texto_Change() { fillResults(-1); }

void buscar_form::refresh() { fillResults(currentPosition()); }

int buscar_form::currentPosition() const {
    const QTreeWidgetItem* item = resultados->currentItem();
    if (!item)
        return -1;
    return elementNowAt(project(), item->data(0, kPositionRole).toInt(),
                        platform::ss(item->data(0, kNameRole).toString()));
}

void buscar_form::fillResults(int keepPosition) {
    const Project& p = project();
    // Some input methods type "ó" as "o" and a combining accent; the
    // listing's texts hold the one character.
    const QString text = texto->text().normalized(QString::NormalizationForm_C);
    const std::vector<int> found = search_.find(p, platform::ss(text));
    const int rows = static_cast<int>(found.size());
    // Rows are rewritten in place rather than rebuilt: the search that runs
    // when the window is activated must not drop the row under the click
    // that activated it.
    while (resultados->topLevelItemCount() > rows)
        delete resultados->takeTopLevelItem(resultados->topLevelItemCount() - 1);
    QList<QTreeWidgetItem*> added;
    QTreeWidgetItem* kept = nullptr;
    for (int row = 0; row < rows; ++row) {
        const int at = found[static_cast<std::size_t>(row)];
        const Element& e = p.elements[static_cast<std::size_t>(at)];
        QTreeWidgetItem* item = resultados->topLevelItem(row);
        if (!item)
            added.append(item = new QTreeWidgetItem);
        item->setText(0, qs(e.name));
        item->setText(1, qs(categoryName(p, e.category)));
        item->setData(0, kPositionRole, at);
        item->setData(0, kNameRole, qs(e.name));
        if (at == keepPosition)
            kept = item;
    }
    resultados->addTopLevelItems(added);
    if (resultados->currentItem() != kept)
        resultados->setCurrentItem(kept);
    encontrados->setText(countText(texto->text(), found.size()));
}

void buscar_form::texto_Enter() {
    QTreeWidgetItem* item = resultados->currentItem();
    choose(item ? item : resultados->topLevelItem(0));
}

void buscar_form::resultados_Activate(QTreeWidgetItem* item) { choose(item); }

bool buscar_form::nextMatch() {
    int from = currentPosition();
    // The shown element deleted: the matches after it start where it was.
    if (from < 0 && resultados->currentItem())
        from = resultados->currentItem()->data(0, kPositionRole).toInt() - 1;
    refresh();
    const int count = resultados->topLevelItemCount();
    if (count == 0)
        return false;
    for (int row = 0; row < count; ++row) {
        QTreeWidgetItem* item = resultados->topLevelItem(row);
        if (item->data(0, kPositionRole).toInt() > from) {
            choose(item);
            return true;
        }
    }
    choose(resultados->topLevelItem(0));
    return true;
}

void buscar_form::choose(QTreeWidgetItem* item) {
    if (!item)
        return;
    resultados->setCurrentItem(item);
    resultados->scrollToItem(item);
    Q_EMIT elementChosen(item->data(0, kPositionRole).toInt());
}

} // namespace vitrandel
