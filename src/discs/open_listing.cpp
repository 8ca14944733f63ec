// SPDX-License-Identifier: GPL-2.0-or-later
#include "discs/open_listing.h"

#include <QFileInfo>

#include "discs/disc_library.h"
#include "discs/recent_listings.h"
#include "model/disc_listing.h"
#include "platform/listing_io.h"

namespace vitrandel::discs {

bool cargar_listado(const QString& path) {
    // Taken before a working folder the listing records is entered.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const auto bytes = platform::readListingFile(path);
    if (!bytes)
        return false;
    rememberOpenedListing(absolute, *bytes);
    // A file that only parsed because nothing in it is a key is no listing to go back to.
    if (startsLikeListing(*bytes))
        rememberListing(absolute);
    return true;
}

} // namespace vitrandel::discs
