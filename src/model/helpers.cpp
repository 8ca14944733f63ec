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
    static constexpr std::array<std::int16_t, 16> kStandard = {8,  9,  10, 11, 12, 14, 16, 18,
                                                                20, 22, 24, 26, 28, 36, 48, 72};
    return std::find(kStandard.begin(), kStandard.end(), size) == kStandard.end();
}

} // namespace vitrandel
