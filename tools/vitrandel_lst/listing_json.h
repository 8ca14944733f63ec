// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "model/listing_reader.h"
#include "model/project.h"

// A listing as one JSON object, for people and scripts that cannot read the
// scrambled file.
namespace vitrandel::lst {

// Raised for a JSON document that does not describe a listing; the message
// names the offending field.
struct BadListingJson : std::runtime_error {
    using std::runtime_error::runtime_error;
};

nlohmann::ordered_json listingToJson(const ParsedListing& listing);

struct ListingFromJson {
    Project project;
    std::string workingDir; // what "ruta actual=" records
};

ListingFromJson listingFromJson(const nlohmann::json& doc);

} // namespace vitrandel::lst
