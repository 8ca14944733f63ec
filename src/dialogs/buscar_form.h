// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

#include "model/search.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vitrandel {

// Find: lists, as the user types, the elements whose name or description
// holds the text, with their categories. It never changes the Project and
// knows nothing of the window that opened it: a chosen match is announced
// by its element's position and that window shows it.
class buscar_form : public QWidget {
    Q_OBJECT

public:
    explicit buscar_form(QWidget* parent);

    // Shown and raised, ready for a new text.
    void present();

    // Shows the match after the current one, the first again after the last
    // (F3); false when nothing matches.
    bool nextMatch();

    // Searches the Project again: it may have changed since the last keystroke.
    void refresh();

Q_SIGNALS:
    void elementChosen(int position);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void texto_Change();
    void texto_Enter();
    void resultados_Activate(QTreeWidgetItem* item);
    void choose(QTreeWidgetItem* item);
    // Where the current match's element now is; -1 for none.
    int currentPosition() const;
    void fillResults(int keepPosition);

    QLabel* Label1;
    QLineEdit* texto;
    QTreeWidget* resultados;
    QLabel* encontrados;

    ElementSearch search_;
};

} // namespace vitrandel
