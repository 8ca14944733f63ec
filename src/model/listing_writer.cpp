// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/listing_writer.h"

#include "model/listing_text.h"
#include "model/number_text.h"
#include "model/scrambler.h"

namespace vitrandel {
namespace {

class Writer {
public:
    void line(std::string_view key, std::string_view encodedValue = {}) {
        std::string plain(key);
        plain += encodedValue;
        out_.bytes += encriptar(plain, kListingKey, kListingShift);
        out_.bytes += "\r\n";
    }

    // Each field is named twice: as the code knows it and as the author does.
    struct Field {
        std::string name;
        std::string label;
        int element = -1;
    };

    void text(std::string_view key, const std::string& utf8, const Field& field) {
        put(key, encodeListingText(utf8), utf8, field);
    }

    void path(std::string_view key, const std::string& utf8, const Field& field) {
        put(key, encodeListingPath(utf8), utf8, field);
    }

    SerializeOutcome take() { return std::move(out_); }

private:
    void put(std::string_view key, const std::optional<std::string>& encoded, const std::string& utf8,
             const Field& field) {
        if (!encoded) {
            if (out_.badField.empty()) {
                out_.badField = field.name;
                out_.badLabel = field.label;
                out_.badElement = field.element;
                out_.badText = utf8;
            }
            return;
        }
        line(key, *encoded);
    }

    SerializeOutcome out_;
};

} // namespace

SerializeOutcome serializeListing(const Project& p, const std::string& currentDir) {
    Writer w;
    w.text("titulo=", p.title, {"title", "el título"});
    w.text("password=", p.password, {"password", "la contraseña"});
    w.line("password activado=", booleanWord(p.passwordEnabled));
    if (isTrue(p.locked))
        w.line("[no mas modificaciones, plis]");
    if (isTrue(p.useCurrentDir))
        w.line("ruta actual=.");
    else
        w.path("ruta actual=", currentDir, {"workingDir", "el directorio de trabajo"});
    w.line("[categorias]");
    for (int i = 0; i < p.categoryCount && i < kMaxCategories; ++i)
        w.text("agregar=", p.categories[static_cast<std::size_t>(i)],
               {"categories[" + std::to_string(i) + "]", "la categoría " + std::to_string(i + 1)});
    w.line("[fin]");
    for (int i = 0; i < p.elementCount && i < kMaxElements; ++i) {
        const Element& e = p.elements[static_cast<std::size_t>(i)];
        const std::string field = "elements[" + std::to_string(i) + "].";
        w.line("[listado]");
        w.text("nombre=", e.name, {field + "name", "el nombre", i});
        w.text("descripcion=", e.description, {field + "description", "la descripción", i});
        w.text("ruta imagen=", e.imagePath, {field + "imagePath", "la imagen", i});
        w.line("num grupo=", numberText(e.category));
        w.text("nombre fuente=", e.fontName, {field + "fontName", "la fuente", i});
        w.line("tama\xF1o fuente=", numberText(e.fontSize));
        w.line("estilo fuente=", numberText(styleCode(e)));
        w.line("color de fondo=", numberText(e.textColor));
        w.line("ajuste de imagen=", booleanWord(e.fitImage));
        w.line("[fin]");
    }
    auto out = w.take();
    if (!out.ok())
        out.bytes.clear();
    return out;
}

} // namespace vitrandel
