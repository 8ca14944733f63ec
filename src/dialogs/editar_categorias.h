// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vitrandel {

// Adds, renames and removes the user categories. The list is a working copy:
// the Project changes only when the list is accepted.
class editar_categorias : public QDialog {
    Q_OBJECT
public:
    explicit editar_categorias(QWidget* parent = nullptr);

    // For each category number before the edit, its number after; empty
    // when the edit was cancelled.
    static std::vector<std::int16_t> mostrar(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void List1_Click();
    void Text1_Change();
    void Text1_KeyPress();
    void eliminar_Click();
    void salir_Click();

    QListWidgetItem* firstSelected() const;
    bool isNewCategoryEntry(const QListWidgetItem* entry) const;
    void addNewCategoryEntry();

    QLabel* Label1;
    QGroupBox* Frame1;
    QLineEdit* Text1;
    QListWidget* List1;
    QPushButton* eliminar;
    QPushButton* salir;
    QPushButton* Cancelar;

    std::vector<std::int16_t> numbersAfter_;
};

} // namespace vitrandel
