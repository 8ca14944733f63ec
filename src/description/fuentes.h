// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vitrandel {

// Chooses the face, style and size of a description, with a sample drawn in
// them. Speaks only through fontDlgName, fontDlgSize and fontDlgStyle: it
// normalises the size and style on opening and writes the choice back on
// accept; a face is never rewritten unless the user picks another.
class fuentes : public QDialog {
    Q_OBJECT
public:
    explicit fuentes(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void aceptar_Click();
    QListWidgetItem* missingFaceEntry(const QString& face);

    QGroupBox* Frame1;
    QListWidget* List1;
    QGroupBox* Frame2;
    QListWidget* List2;
    QGroupBox* Frame3;
    QListWidget* List3;
    QGroupBox* Frame4;
    QLineEdit* Text1;
    QPushButton* aceptar;
    QPushButton* cancelar;
};

} // namespace vitrandel
