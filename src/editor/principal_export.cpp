// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's export of the index as a web page. It only reads the Project,
// so it needs no password.

#include <QApplication>
#include <QDir>
#include <cerrno>

#include "dialogs/elegir_carpeta.h"
#include "editor/principal.h"
#include "export/web_export.h"
#include "model/project.h"
#include "platform/error_text.h"
#include "platform/message_box.h"
#include "platform/output_folder.h"

namespace vitrandel {

using platform::msgBox;

void principal::archivo_exportar_web_Click() {
    // The working folder is where the listing and its pictures live: a page
    // written there can go on the disc beside them.
    const QString folder = elegir_carpeta::elegir(
        this, QStringLiteral("Exportar como página web"), QDir::currentPath());
    if (folder.isEmpty())
        return;
    const QString page = QDir(folder).filePath(QLatin1String(kWebPageName));
    // Whatever stands there, a link to nowhere included, is replaced.
    if (platform::somethingAt(page) &&
        msgBox(QStringLiteral("La carpeta ya tiene una página «%1».\n\n¿Desea reemplazarla?")
                   .arg(QLatin1String(kWebPageName)),
               platform::vbYesNo + platform::vbQuestion) != platform::vbYes)
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const WebExportOutcome outcome = exportWebPage(project(), folder, QApplication::palette());
    QApplication::restoreOverrideCursor();

    if (!outcome.ok) {
        QString text = QStringLiteral("No se pudo crear la página web:\n\n%1")
                           .arg(QDir::toNativeSeparators(outcome.failedPath));
        if (outcome.errnum == ELOOP)
            text += QStringLiteral("\n\nEs un enlace simbólico: la exportación no escribe a través "
                                   "de enlaces.");
        else if (outcome.errnum != 0)
            text += QStringLiteral("\n\n") + platform::errorDescription(outcome.errnum);
        msgBox(text, platform::vbOKOnly + platform::vbExclamation);
        return;
    }
    QString text = QStringLiteral("La página web del índice se guardó en:\n\n%1")
                       .arg(QDir::toNativeSeparators(page));
    if (outcome.picturesMissing == 1)
        text += QStringLiteral("\n\nUna imagen no se encontró o no se pudo leer; su elemento se "
                               "muestra sin ella.");
    else if (outcome.picturesMissing > 1)
        text += QStringLiteral("\n\n%1 imágenes no se encontraron o no se pudieron leer; sus "
                               "elementos se muestran sin ellas.")
                    .arg(outcome.picturesMissing);
    if (!outcome.picturesOutside.isEmpty()) {
        // A long list would make a box taller than the screen.
        constexpr qsizetype kNamesShown = 10;
        QString names = outcome.picturesOutside.mid(0, kNamesShown).join(QStringLiteral(", "));
        if (outcome.picturesOutside.size() > kNamesShown)
            names += QStringLiteral(" y %1 más").arg(outcome.picturesOutside.size() - kNamesShown);
        text += QStringLiteral("\n\nNo se exportaron, porque están fuera de la carpeta del listado: ") +
                names + u'.';
    }
    msgBox(text, platform::vbOKOnly);
}

} // namespace vitrandel
