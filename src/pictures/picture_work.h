// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "pictures/decoding.h"
#include "pictures/protocol.h"

// What the picture process does for one request: tell the file's format by
// its content, refuse any format a description may not name, and draw or
// measure the picture. Kept apart from the process's main so that a
// benchmark or a fuzz target can run it in their own process.
namespace vitrandel::pictures {

// `cancelled` as for decodePicture: a picture cut short is answered as none.
protocol::Reply answer(const protocol::Request& request, Cancelled cancelled = nullptr);

} // namespace vitrandel::pictures
