// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The fence around the picture process. What it decodes comes from strangers'
// discs; a decoder that goes wrong must find nothing worth reaching.
namespace vitrandel::pictures {

// Runs in the child between fork and exec, where only async-signal-safe
// calls are allowed: its own process group (ended as one), bounded memory,
// no core files, no file written, no privileges gained through exec.
void limitPictureProcess();

// Seconds one request may take inside the process before it ends itself;
// the program's own timeout is a little longer.
constexpr unsigned kSecondsPerRequest = 5;

} // namespace vitrandel::pictures
