// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "library/disc_library.h"
#include "model/project.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vitrandel {

class DescriptionArea;

// The library of discs: find an element on any disc ever opened, read its
// description while the disc is on the shelf, and open the index of its disc.
class biblioteca_form : public QWidget {
    Q_OBJECT

public:
    // Asked before "Abrir" replaces the listing in memory and closes
    // `owner`; false leaves everything as it is.
    using LeaveOwner = std::function<bool()>;

    // The one library window, shown and raised; it then answers to `owner`.
    static biblioteca_form* mostrar(QWidget* owner, LeaveOwner leaveOwner);

    ~biblioteca_form() override;

    DescriptionArea* description() const { return description_; }

private:
    biblioteca_form();
    void Form_Load();
    void buscar_txt_Change();
    void resultados_Click();
    void abrir_Click();
    void quitar_Click();

    const library::FoundElement* selectedElement() const;
    // The stored listing of a disc, read once while its elements are shown.
    bool loadDisc(std::int64_t discId);

    QLabel* Label1;
    QLineEdit* buscar_txt;
    QTreeWidget* resultados;
    QLabel* disco_info;
    QPushButton* abrir;
    QPushButton* quitar;
    DescriptionArea* description_;

    QPointer<QWidget> owner_;
    LeaveOwner leaveOwner_;
    std::unique_ptr<library::Library> library_;
    std::vector<library::FoundElement> found_;
    std::int64_t discId_ = 0;
    library::StoredListing disc_;
    Project discListing_;
};

} // namespace vitrandel
