// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The listings opened last, kept between sessions for "Abiertos recientemente".
namespace vitrandel::discs {

constexpr int kRecentListings = 10;

// Newest first, at most kRecentListings, as absolute paths.
QStringList recentListings();

// Puts the listing first, once.
void rememberListing(const QString& path);

// Tests keep the list in memory, away from the user's settings.
class RecentListingsSeam {
public:
    static void setTestMode(bool on);
    static void reset();
};

} // namespace vitrandel::discs
