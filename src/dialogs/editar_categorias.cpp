// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialogs/editar_categorias.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "model/category_list.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/message_box.h"
#include "platform/modal.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::qs;
using platform::twips;
using platform::twipsRect;

namespace {
// The number each entry had when the dialog opened; 0 for one added here.
constexpr int kFormerNumberRole = Qt::UserRole;

const char* const kTooManyCategories =
    "Un listado admite como máximo 51 categorías. Elimine alguna antes de aceptar.";
} // namespace

editar_categorias::editar_categorias(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("editar_categorias"));
    setWindowTitle(QStringLiteral("Editar categorías"));
    setFixedSize(twips(4680), twips(2955));
    Label1 = place(new QLabel(QStringLiteral("Categorias existenetes :"), this), "Label1",
                   twipsRect(360, 240, 1815, 255));
    // Drawn around the name box and its button, which sit above it.
    Frame1 = place(new QGroupBox(QStringLiteral("Categoría seleccionada"), this), "Frame1",
                   twipsRect(2280, 240, 2175, 1935));
    Text1 = place(new QLineEdit(this), "Text1", twipsRect(2400, 720, 1815, 285));
    List1 = place(new QListWidget(this), "List1", twipsRect(360, 600, 1815, 1620));
    eliminar = place(new QPushButton(QStringLiteral("&Eliminar"), this), "eliminar",
                     twipsRect(2520, 1320, 1575, 375));
    salir = place(new QPushButton(QStringLiteral("&Aceptar"), this), "salir",
                  twipsRect(600, 2400, 1575, 375));
    Cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "Cancelar",
                     twipsRect(2400, 2400, 1575, 375));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Text1->setEnabled(false);
    eliminar->setEnabled(false);
    // Enter in the name box starts the next category; no button may take it.
    for (QPushButton* b : {eliminar, salir, Cancelar})
        b->setAutoDefault(false);
    setTabOrder(Text1, List1);
    setTabOrder(List1, eliminar);
    setTabOrder(eliminar, salir);
    setTabOrder(salir, Cancelar);

    connect(List1, &QListWidget::itemSelectionChanged, this, &editar_categorias::List1_Click);
    connect(Text1, &QLineEdit::textChanged, this, &editar_categorias::Text1_Change);
    connect(Text1, &QLineEdit::returnPressed, this, &editar_categorias::Text1_KeyPress);
    connect(eliminar, &QPushButton::clicked, this, &editar_categorias::eliminar_Click);
    connect(salir, &QPushButton::clicked, this, &editar_categorias::salir_Click);
    connect(Cancelar, &QPushButton::clicked, this, &editar_categorias::reject);

    Form_Load();
    Text1->setFocus();
}

std::vector<std::int16_t> editar_categorias::mostrar(QWidget* parent) {
    editar_categorias dialog(parent);
    platform::execModal(dialog);
    return dialog.numbersAfter_;
}

// Escape is no Cancel here: it would throw away every edit in the list.
void editar_categorias::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void editar_categorias::Form_Load() {
    const Project& p = project();
    List1->clear();
    for (int i = 0; i < p.categoryCount; ++i) {
        auto* entry = new QListWidgetItem(qs(p.categories[static_cast<std::size_t>(i)]), List1);
        entry->setData(kFormerNumberRole, i + 1);
    }
    addNewCategoryEntry();
    List1->setCurrentRow(List1->count() - 1);
}

QListWidgetItem* editar_categorias::firstSelected() const {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

// The last entry always offers a new category, whatever its text.
bool editar_categorias::isNewCategoryEntry(const QListWidgetItem* entry) const {
    return List1->row(entry) == List1->count() - 1;
}

void editar_categorias::addNewCategoryEntry() {
    auto* entry = new QListWidgetItem(QStringLiteral("[Agregar Nuevo]"), List1);
    entry->setData(kFormerNumberRole, 0);
}

void editar_categorias::List1_Click() {
    QListWidgetItem* s = firstSelected();
    if (!s) {
        Text1->setEnabled(false);
        eliminar->setEnabled(false);
    } else if (!isNewCategoryEntry(s)) {
        Text1->setEnabled(true);
        Text1->setText(s->text());
        eliminar->setEnabled(true);
    } else {
        Text1->clear();
        Text1->setEnabled(true);
        eliminar->setEnabled(false);
    }
}

void editar_categorias::Text1_Change() {
    QListWidgetItem* s = firstSelected();
    if (!s)
        return;
    if (isNewCategoryEntry(s)) {
        if (Text1->text().isEmpty())
            return;
        // The typed text becomes a category and a fresh entry offers the next.
        addNewCategoryEntry();
    }
    s->setText(Text1->text());
    eliminar->setEnabled(true);
}

void editar_categorias::Text1_KeyPress() {
    List1->setCurrentRow(List1->count() - 1);
}

void editar_categorias::eliminar_Click() {
    QListWidgetItem* s = firstSelected();
    if (!s)
        return;
    // Nothing is selected afterwards, and the name box keeps what it showed.
    const QSignalBlocker quiet(List1);
    delete s;
    List1->setCurrentItem(nullptr);
    List1->clearSelection();
}

void editar_categorias::salir_Click() {
    std::vector<EditedCategory> list;
    for (int i = 0; i + 1 < List1->count(); ++i) {
        const QListWidgetItem* entry = List1->item(i);
        const QString name = platform::composed(entry->text());
        if (!platform::acceptStorable(name, QStringLiteral("La categoría"))) {
            // Shown in the name box, as typed, to be corrected there.
            List1->setCurrentRow(i);
            Text1->setFocus();
            return;
        }
        list.push_back({platform::ss(name), entry->data(kFormerNumberRole).toInt()});
    }
    const int formerCount = project().categoryCount;
    if (!applyCategoryList(project(), list)) {
        platform::msgBox(QString::fromUtf8(kTooManyCategories), platform::vbExclamation);
        return;
    }
    numbersAfter_ = categoryNumbersAfter(list, formerCount);
    project().modified = kTrue;
    accept();
}

} // namespace vitrandel
