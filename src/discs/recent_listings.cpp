// SPDX-License-Identifier: GPL-2.0-or-later
#include "discs/recent_listings.h"

#include "discs/disc_library.h"

#include <QFileInfo>
#include <QSettings>
#include <optional>

namespace vitrandel::discs {
namespace {

const QString kKey = QStringLiteral("recientes");

std::optional<QStringList>& memoryStore() {
    static std::optional<QStringList> store;
    return store;
}

QSettings settings() { return QSettings(QStringLiteral("vitrandel"), QStringLiteral("vitrandel")); }

void store(const QStringList& list) {
    if (memoryStore())
        *memoryStore() = list;
    else
        settings().setValue(kKey, list);
}

} // namespace

QStringList recentListings() {
    // The library hears of every listing opened, by any of the user's
    // viewers and editors; the settings' own list stands in while it is off
    // or cannot be read.
    if (!memoryStore() && rememberOpenedListings()) {
        const QStringList fromLibrary = discs::recentListings(kRecentListings);
        if (!fromLibrary.isEmpty())
            return fromLibrary;
    }
    QStringList list = memoryStore() ? *memoryStore() : settings().value(kKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kRecentListings);
}

void rememberListing(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = recentListings();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kRecentListings));
}

void RecentListingsSeam::setTestMode(bool on) {
    if (on)
        memoryStore().emplace();
    else
        memoryStore().reset();
}

void RecentListingsSeam::reset() {
    if (memoryStore())
        memoryStore()->clear();
}

} // namespace vitrandel::discs
