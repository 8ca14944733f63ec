// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/helpers.h"

#include <algorithm>
#include <array>

namespace vitrandel {

std::string cambiar_extension(std::string_view path, std::string_view ext) {
    // Listings name folders with "\"; this system uses "/": both end a component.
    for (std::size_t i = path.size(); i-- > 0;) {
        const char c = path[i];
        if (c == '\\' || c == '/')
            break;
        if (c == '.')
            return std::string(path.substr(0, i + 1)) + std::string(ext);
    }
    return std::string(path) + "." + std::string(ext);
}

bool tamano_no_estandar(std::int16_t size) {
    return std::find(kStandardFontSizes.begin(), kStandardFontSizes.end(), size) ==
           kStandardFontSizes.end();
}

} // namespace vitrandel
