#pragma once

#include <QStringList>
#include <string>

// The screen fonts a description may name. Listings come from Windows, so the
// faces they name must count as installed where we can draw them faithfully.
namespace vitrandel::platform {

// Read once per run and cached; includes the faces honoured by substitution.
const QStringList& installedFonts();

// True when no installed font has this name, without regard to letter case.
bool fuente_no_instalada(const std::string& name);

} // namespace vitrandel::platform
