// SPDX-License-Identifier: GPL-2.0-or-later
// Shows one of the editor's dialogs on its own, for a person to look at:
//   show_dialog com_dlg|cambio_dir|opciones_form|preguntar_password|preguntar_nombre|
//               editar_categorias|cambiar_categoria_form|editar_desc|fuentes|acerca_form [folder]
// The folder becomes the current directory first. editar_desc opens on a
// description with the picture fotos/playa.jpg when the folder has it.
#include <QApplication>
#include <QDir>
#include <QFile>

#include "dialogs/cambiar_categoria_form.h"
#include "description/editar_desc.h"
#include "description/fuentes.h"
#include "dialogs/cambio_dir.h"
#include "dialogs/com_dlg.h"
#include "dialogs/editar_categorias.h"
#include "dialogs/opciones_form.h"
#include "editor/acerca_form.h"
#include "dialogs/preguntar_nombre.h"
#include "dialogs/preguntar_password.h"
#include "model/project.h"
#include "platform/application.h"
#include "platform/modal.h"

using namespace vitrandel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installQtTranslation(app);
    platform::useDesignFont(app);
    const QStringList args = QApplication::arguments();
    const QString which = args.value(1, QStringLiteral("com_dlg"));
    if (args.size() > 2)
        QDir::setCurrent(args[2]);

    ExchangeFields& x = exchange();
    x.fileDlgCaption = "Guardar como...";
    x.fileDlgFilters[0] = "Listados (*.lst)";
    x.fileDlgFilters[1] = "Todos los archivos (*.*)";
    x.fileDlgMode = 2;
    x.dirDlgStart = ".";
    project().password = "Secreto";
    project().passwordEnabled = kTrue;
    for (const char* name : {"Fotos", "Documentos", "Música", "Varios"})
        project().categories[static_cast<std::size_t>(project().categoryCount++)] = name;
    x.catDlgCategory = 3;

    x.descText = "Castillo del siglo XV sobre un cerro,\nvisto desde el sur.";
    x.descFontName = "Times New Roman";
    x.descFontSize = 12;
    x.descFontItalic = kTrue;
    x.descTextColor = 0x80;
    if (QFile::exists(QStringLiteral("fotos/playa.jpg")))
        x.descImagePath = "fotos\\playa.jpg";
    x.fontDlgName = "Times New Roman";
    x.fontDlgSize = 14;
    x.fontDlgStyle = 1;

    if (which == QLatin1String("editar_desc")) {
        editar_desc dialog;
        platform::execModal(dialog);
    } else if (which == QLatin1String("acerca_form")) {
        acerca_form dialog;
        platform::execModal(dialog);
    } else if (which == QLatin1String("fuentes")) {
        fuentes dialog;
        platform::execModal(dialog);
    } else if (which == QLatin1String("cambio_dir"))
        cambio_dir::mostrar(nullptr);
    else if (which == QLatin1String("opciones_form"))
        opciones_form::mostrar(nullptr);
    else if (which == QLatin1String("preguntar_password"))
        preguntar_password::mostrar(nullptr);
    else if (which == QLatin1String("preguntar_nombre"))
        preguntar_nombre::mostrar(nullptr);
    else if (which == QLatin1String("editar_categorias"))
        editar_categorias::mostrar(nullptr);
    else if (which == QLatin1String("cambiar_categoria_form"))
        cambiar_categoria_form::mostrar(nullptr);
    else
        com_dlg::mostrar(nullptr);
    return 0;
}
