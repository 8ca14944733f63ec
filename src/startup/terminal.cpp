// SPDX-License-Identifier: GPL-2.0-or-later
#include "startup/terminal.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vitrandel::startup {
namespace {

constexpr std::string_view kHelpEs = R"(Uso: vitrandel [LISTADO.lst | CARPETA]
Crea y muestra el índice del contenido de un disco.

Sin argumento se abre el editor. Con la ruta de un listado (.lst) se abre el
índice de ese listado. Con la carpeta de un disco se abre el listado que su
autorun.inf entrega al programa en la línea "open=" o, si no, el único
listado que hay en ella; si no tiene ninguno, el editor. Las palabras que
siguen al programa se toman juntas, separadas por un blanco, como una sola
ruta.

  --help      muestra esta ayuda y termina
  --version   muestra la versión y termina

También se aceptan las opciones propias de Qt (-style fusion, -platform ...).
Más en vitrandel(1); los listados se leen y escriben sin ventanas con
vitrandel-lst(1).
)";

constexpr std::string_view kHelpEn = R"(Usage: vitrandel [LISTING.lst | FOLDER]
Builds and shows the index of a disc's contents (the interface is in Spanish).

Without an argument the editor opens. With the path of a listing (.lst) the
index of that listing opens. With a disc's folder, the listing its
autorun.inf hands the program on its "open=" line opens or, failing that,
the only listing in the folder; with none, the editor. The words after the
program are taken together, joined with single blanks, as one path.

  --help      show this help and exit
  --version   show the version and exit

Qt's own options (-style fusion, -platform ...) are accepted too.
More in vitrandel(1); listings are read and written without windows by
vitrandel-lst(1).
)";

bool spanish() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string_view(value).starts_with("es");
    }
    return false;
}

} // namespace

std::optional<int> answerOnTerminal(int argc, char** argv) {
    if (argc != 2)
        return std::nullopt;
    const std::string_view word = argv[1];
    if (word == "--version") {
        std::fputs("vitrandel " VITRANDEL_VERSION "\n", stdout);
        return 0;
    }
    if (word == "--help" || word == "-h") {
        const std::string_view help = spanish() ? kHelpEs : kHelpEn;
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    }
    return std::nullopt;
}

} // namespace vitrandel::startup
