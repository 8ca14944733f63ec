// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// A disc opened by its folder: the listing it carries, if any.
namespace vitrandel::platform {

// True when the file's first bytes are a listing's.
bool readsAsListing(const QString& path);

// The listing on a disc or in a folder given whole: the file autorun.inf
// hands the program on its "open=" line, when that reads as a listing; else
// the only ".lst" at the top that reads as one. Empty when there is none.
// The folder may be anyone's: nothing outside it is looked at, through links
// or "..", and only the start of each file is read.
QString discListing(const QString& folder);

} // namespace vitrandel::platform
