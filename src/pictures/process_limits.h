// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The fence around the picture process. What it decodes comes from strangers'
// discs; a decoder that goes wrong must find nothing worth reaching.
namespace vitrandel::pictures {

// Runs in the child between fork and exec, where only async-signal-safe
// calls are allowed: its own process group (ended as one), bounded memory,
// no core files, no file written, no privileges gained through exec.
void limitPictureProcess();

// Bounds the tasks the process may start, threads included; its filter
// refuses new processes anyway. Called by the process itself before it reads
// a request: between fork and exec Qt runs on a small stack of its own, too
// small for reading a file.
void limitTasks();

// Seconds one request may take inside the process before it ends itself;
// the program's own timeout is a little longer.
constexpr unsigned kSecondsPerRequest = 5;

} // namespace vitrandel::pictures
