// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include "model/listing_reader.h"

// The texts of the error messages, in Spanish, for the failures users meet.
namespace vitrandel::platform {

QString errorDescription(int errnum);
// Tells a missing folder from a missing file, which this system reports alike.
QString errorDescription(int errnum, const QString& path);
QString readErrorDescription(const ReadError& error);

} // namespace vitrandel::platform
