// SPDX-License-Identifier: GPL-2.0-or-later
#include "listing_file.h"

#include <iostream>

#include "model/file_store.h"

namespace vitrandel::lst {

int failure(const std::string& message) {
    std::cerr << "vitrandel-lst: " << message << '\n';
    return kExitFailure;
}

std::optional<ParsedListing> readListing(const std::string& path) {
    FileError fileError;
    const auto bytes = readFileBytes(path, &fileError);
    if (!bytes) {
        failure("cannot open " + path + ": " + fileError.message);
        return std::nullopt;
    }
    ParseOutcome outcome = parseListing(*bytes, Project{});
    if (outcome.error) {
        failure("cannot read " + path + ": " + describeReadError(*outcome.error));
        return std::nullopt;
    }
    return std::move(outcome.listing);
}

} // namespace vitrandel::lst
