// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's "Agregar desde carpeta...": the files of a folder inside the
// working folder become elements, its subfolders categories.
#include <QComboBox>
#include <QDir>
#include <QStringList>
#include <algorithm>

#include "dialogs/elegir_carpeta.h"
#include "dialogs/password_gate.h"
#include "editor/edit_history.h"
#include "editor/principal.h"
#include "model/folder_fill.h"
#include "model/project.h"
#include "platform/folder_scan.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace vitrandel {

using platform::qs;

namespace {

constexpr int kNamesShown = 10;

QString count(int n, const char* one, const char* many) {
    return n == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(n);
}

// A long list would make a box taller than the screen.
QString nameList(const std::vector<std::string>& names) {
    QStringList shown;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        shown << qs(names[i]);
    QString text = shown.join(QStringLiteral(", "));
    if (names.size() > kNamesShown)
        text += QStringLiteral(" y %1 más").arg(names.size() - kNamesShown);
    return text + QLatin1Char('.');
}

QString summary(const FolderFillReport& r, const QString& ownCategory) {
    QStringList parts;
    if (r.tableFull) {
        parts << QStringLiteral("Un listado admite como máximo %1 elementos: %2 y %3 sin agregar.")
                     .arg(kMaxElements)
                     .arg(count(r.added, "se agregó 1", "se agregaron %1"),
                          count(r.leftOut, "quedó 1", "quedaron %1"));
    } else if (r.added == 0 && r.alreadyPresent.empty()) {
        parts << QStringLiteral("La carpeta no tiene archivos que agregar.");
    } else if (r.added == 0) {
        parts << QStringLiteral("No se agregó ningún elemento.");
    } else {
        QString added = count(r.added, "Se agregó 1 elemento", "Se agregaron %1 elementos");
        if (r.categoriesAdded > 0)
            added += count(r.categoriesAdded, " y 1 categoría nueva", " y %1 categorías nuevas");
        parts << added + QLatin1Char('.');
    }
    if (!r.alreadyPresent.empty())
        parts << QStringLiteral("Ya se encontraban y no se agregaron: ") +
                     nameList(r.alreadyPresent);
    if (!r.foldersWithoutCategory.empty())
        parts << QStringLiteral(
                     "No queda lugar para más categorías (%1 como máximo); los elementos "
                     "de estas carpetas quedaron %2: ")
                         .arg(kMaxCategories)
                         .arg(ownCategory.isEmpty() ? QStringLiteral("sin categoría")
                                                    : QStringLiteral("en «%1»").arg(ownCategory)) +
                     nameList(r.foldersWithoutCategory);
    if (!r.textReplaced.empty())
        parts << QStringLiteral("Los caracteres que el listado no puede guardar se cambiaron por "
                                "«?» en: ") +
                     nameList(r.textReplaced);
    if (!r.picturesLeftOut.empty())
        parts << QStringLiteral("Quedaron sin imagen, porque el listado no puede guardar el nombre "
                                "de su archivo: ") +
                     nameList(r.picturesLeftOut);
    if (!r.refused.empty())
        parts << QStringLiteral("No se agregaron, porque llevan fuera de la carpeta elegida o su "
                                "nombre contiene «\\»: ") +
                     nameList(r.refused);
    if (r.subfoldersLeftOut > 0)
        parts << count(int(r.subfoldersLeftOut), "Una subcarpeta no se leyó: la carpeta tiene demasiadas.",
                       "%1 subcarpetas no se leyeron: la carpeta tiene demasiadas.");
    return parts.join(QStringLiteral("\n\n"));
}

bool allWentIn(const FolderFillReport& r) {
    return !r.tableFull && r.alreadyPresent.empty() && r.foldersWithoutCategory.empty() &&
           r.textReplaced.empty() && r.picturesLeftOut.empty() && r.refused.empty() &&
           r.subfoldersLeftOut == 0;
}

} // namespace

bool principal::roomForElements() {
    if (project().elementCount < kMaxElements)
        return true;
    platform::msgBox(QStringLiteral("Un listado admite como máximo %1 elementos. Elimine alguno "
                                    "antes de agregar otros.")
                         .arg(kMaxElements),
                     platform::vbExclamation);
    return false;
}

void principal::proyecto_agregar_carpeta_Click() {
    if (!password_gate(this) || !roomForElements())
        return;
    const QString folder = elegir_carpeta::elegir(
        this, QStringLiteral("Seleccione la carpeta a agregar..."), QDir::currentPath());
    if (!folder.isEmpty())
        fillFromFolder(folder);
}

void principal::fillFromFolder(const QString& folder, const QStringList& picked) {
    // Pictures are stored relative to the working folder, so only what lies
    // inside it can be named.
    const std::optional<std::string> listingPath = platform::pathInWorkingFolder(folder);
    if (!listingPath) {
        platform::msgBox(QStringLiteral("La carpeta debe estar dentro del directorio de trabajo "
                                        "(%1), porque el listado guarda las rutas de las imágenes "
                                        "a partir de él.")
                             .arg(QDir::toNativeSeparators(QDir::currentPath())),
                         platform::vbExclamation);
        return;
    }
    FolderScan scan = platform::scanFolder(folder, *listingPath);
    if (!picked.isEmpty()) {
        std::vector<std::string> names;
        for (const QString& name : picked)
            names.push_back(platform::ss(name));
        keepPicked(scan, names);
    }
    const auto own = static_cast<std::int16_t>(std::max(categorias->currentIndex(), 0));
    FolderFillReport report;
    {
        const EditHistory::Step step(*history_, QStringLiteral("agregar desde carpeta"));
        report = addFolderToProject(project(), scan, own);
    }
    if (report.added > 0 || report.categoriesAdded > 0)
        fillCategoryList();
    platform::msgBox(summary(report, own > 0 ? categorias->itemText(own) : QString()),
                     allWentIn(report) ? platform::vbOKOnly : platform::vbExclamation);
}

} // namespace vitrandel
