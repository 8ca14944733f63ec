// SPDX-License-Identifier: GPL-2.0-or-later
#include "description/fuentes.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "model/helpers.h"
#include "model/project.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/storable_text.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace vitrandel {

using platform::place;
using platform::twips;
using platform::twipsRect;

namespace {

const char* const kStyles[] = {"Normal", "Negrita", "Cursiva", "Negrita cursiva"};

QStringList standardSizes() {
    QStringList sizes;
    for (const std::int16_t size : kStandardFontSizes)
        sizes.append(QString::number(size));
    return sizes;
}

QListWidget* listIn(QGroupBox* frame, const char* name, const QRect& geometry) {
    auto* list = place(new QListWidget(frame), name, geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// Where the sorted list would hold `face`.
int sortedRow(const QListWidget* list, const QString& face) {
    int row = 0;
    while (row < list->count() && list->item(row)->text().compare(face, Qt::CaseInsensitive) < 0)
        ++row;
    return row;
}

void complain(const char* text) {
    platform::msgBox(QString::fromUtf8(text), platform::vbOKOnly + platform::vbExclamation);
}

} // namespace

fuentes::fuentes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fuentes"));
    setWindowTitle(QStringLiteral("Cambiar fuente..."));
    setFixedSize(twips(5895), twips(4815));
    Frame1 = place(new QGroupBox(QStringLiteral("Fuente"), this), "Frame1", twipsRect(120, 360, 1935, 2055));
    List1 = listIn(Frame1, "List1", twipsRect(120, 240, 1695, 1620));
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Frame2 = place(new QGroupBox(QStringLiteral("Estilo"), this), "Frame2", twipsRect(2160, 360, 1815, 2055));
    List2 = listIn(Frame2, "List2", twipsRect(120, 240, 1575, 1620));
    Frame3 = place(new QGroupBox(QStringLiteral("Tamaño"), this), "Frame3", twipsRect(4080, 360, 1575, 2055));
    List3 = listIn(Frame3, "List3", twipsRect(120, 240, 1335, 1620));
    Frame4 = place(new QGroupBox(QStringLiteral("Muestra"), this), "Frame4", twipsRect(240, 3600, 3255, 1095));
    Text1 = place(new QLineEdit(QStringLiteral("Texto de Prueba"), Frame4), "Text1",
                  twipsRect(120, 240, 3015, 735));
    aceptar = place(new QPushButton(QStringLiteral("&Aceptar"), this), "aceptar",
                    twipsRect(4200, 3840, 1575, 375));
    cancelar = place(new QPushButton(QStringLiteral("Cancelar"), this), "cancelar",
                     twipsRect(4200, 4320, 1575, 375));
    aceptar->setDefault(true);

    // The frame is disabled so that the sample takes no focus and no typing,
    // but the sample is there to be read: it keeps the colours of an enabled box.
    Frame4->setEnabled(false);
    QPalette sample = Text1->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Base})
        sample.setColor(QPalette::Disabled, role, sample.color(QPalette::Active, role));
    Text1->setPalette(sample);

    connect(List1, &QListWidget::itemSelectionChanged, this, &fuentes::List1_Click);
    connect(List2, &QListWidget::itemSelectionChanged, this, &fuentes::List2_Click);
    connect(List3, &QListWidget::itemSelectionChanged, this, &fuentes::List3_Click);
    connect(aceptar, &QPushButton::clicked, this, &fuentes::aceptar_Click);
    connect(cancelar, &QPushButton::clicked, this, &fuentes::reject);

    Form_Load();
}

void fuentes::Form_Load() {
    List1->clear();
    List1->addItems(platform::installedFonts());
    List2->clear();
    for (const char* style : kStyles)
        List2->addItem(QString::fromUtf8(style));
    List3->clear();
    List3->addItems(standardSizes());

    ExchangeFields& x = exchange();
    if (tamano_no_estandar(x.fontDlgSize))
        x.fontDlgSize = 10;
    if (x.fontDlgStyle < 0 || x.fontDlgStyle > 3)
        x.fontDlgStyle = 0;

    // A face this machine lacks is the author's all the same: it is offered,
    // chosen, and handed back unless the user picks another. Only a
    // description without a face starts from the stand-in.
    const QString face = x.fontDlgName.empty() ? QString::fromLatin1(kFallbackFontName)
                                                : platform::qs(x.fontDlgName);
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->text().toLower() == face.toLower())
            List1->setCurrentRow(i);
    if (List1->selectedItems().isEmpty() && !x.fontDlgName.empty())
        List1->setCurrentItem(missingFaceEntry(face));
    for (int i = 0; i < List3->count(); ++i)
        if (List3->item(i)->text().toInt() == x.fontDlgSize)
            List3->setCurrentRow(i);
    List2->setCurrentRow(x.fontDlgStyle);
}

// The choice made on opening lies anywhere in the long list of faces; lists
// scroll to their current entry only once they are shown.
void fuentes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QListWidget* list : {List1, List2, List3})
        if (list->currentItem())
            list->scrollToItem(list->currentItem());
}

QListWidgetItem* fuentes::missingFaceEntry(const QString& face) {
    auto* entry = new QListWidgetItem(face);
    QFont shown = entry->font();
    shown.setItalic(true);
    entry->setFont(shown);
    entry->setToolTip(QStringLiteral("Esta fuente no está instalada en este equipo; "
                                     "la muestra usa otra en su lugar."));
    List1->insertItem(sortedRow(List1, face), entry);
    return entry;
}

void fuentes::List1_Click() {
    const QList<QListWidgetItem*> picked = List1->selectedItems();
    if (picked.size() != 1)
        return;
    QFont font = Text1->font();
    font.setFamily(platform::faceToDraw(platform::ss(picked.first()->text())));
    Text1->setFont(platform::crispFont(font));
}

void fuentes::List2_Click() {
    const QList<QListWidgetItem*> picked = List2->selectedItems();
    const int style = picked.size() == 1 ? List2->row(picked.first()) : 0;
    QFont font = Text1->font();
    font.setBold(style == 1 || style == 3);
    font.setItalic(style == 2 || style == 3);
    Text1->setFont(platform::crispFont(font));
}

void fuentes::List3_Click() {
    const QList<QListWidgetItem*> picked = List3->selectedItems();
    if (picked.size() != 1)
        return;
    QFont font = Text1->font();
    font.setPointSize(picked.first()->text().toInt());
    Text1->setFont(platform::crispFont(font));
}

void fuentes::aceptar_Click() {
    const QList<QListWidgetItem*> face = List1->selectedItems();
    const QList<QListWidgetItem*> style = List2->selectedItems();
    const QList<QListWidgetItem*> size = List3->selectedItems();
    if (face.size() != 1) {
        complain("Debe seleccionar un nombre de fuente válido");
        return;
    }
    if (style.size() != 1) {
        complain("Debe seleccionar un estilo de fuente válido");
        return;
    }
    if (size.size() != 1) {
        complain("Debe seleccionar un tamaño de fuente válido");
        return;
    }
    if (!platform::acceptStorable(face.first()->text(), QStringLiteral("El nombre de la fuente")))
        return;
    ExchangeFields& x = exchange();
    x.fontDlgName = platform::ss(face.first()->text());
    x.fontDlgStyle = static_cast<std::int16_t>(List2->row(style.first()));
    x.fontDlgSize = static_cast<std::int16_t>(size.first()->text().toInt());
    accept();
}

} // namespace vitrandel
