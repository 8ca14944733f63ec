#include "model/project.h"

namespace vitrandel {

Project& project() {
    static Project instance;
    return instance;
}

ExchangeFields& exchange() {
    static ExchangeFields instance;
    return instance;
}

std::int16_t styleCode(const Element& e) {
    return static_cast<std::int16_t>((isTrue(e.fontBold) ? 1 : 0) + (isTrue(e.fontItalic) ? 2 : 0));
}

void applyStyleCode(Element& e, double code) {
    e.fontBold = toBool16(code == 1 || code == 3);
    e.fontItalic = toBool16(code == 2 || code == 3);
}

} // namespace vitrandel
