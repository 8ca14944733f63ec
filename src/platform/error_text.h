#pragma once

#include <QString>

#include "model/listing_reader.h"

// The texts of the error messages, in Spanish, for the failures users meet.
namespace vitrandel::platform {

QString errorDescription(int errnum);
QString readErrorDescription(const ReadError& error);

} // namespace vitrandel::platform
