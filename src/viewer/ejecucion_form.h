// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace vitrandel {

class DescriptionArea;
class FindCommand;

// The read-only index of a finished listing: pick a category, pick an
// element, read its description. Nothing is opened or launched from here.
class ejecucion_form : public QWidget {
    Q_OBJECT

public:
    explicit ejecucion_form(QWidget* parent = nullptr);

    DescriptionArea* description() const { return description_; }

    void fillElementList();
    void showDescription();
    // A match of Find, shown as if the user had picked its category and then it.
    void showFoundElement(int position);
    // A listing dropped on the window, or the one on a dropped disc's folder.
    void openListing(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Form_Load();
    void categorias_Click();
    void listado_Click();

    QLabel* Label1;
    QComboBox* categorias;
    QLabel* Label2;
    QListWidget* listado;
    DescriptionArea* description_;
    FindCommand* find_;
};

} // namespace vitrandel
