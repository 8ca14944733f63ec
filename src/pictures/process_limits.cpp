// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/process_limits.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vitrandel::pictures {
namespace {

// Qt, the fonts and a picture of the largest allowed size take a fraction of it.
constexpr rlim_t kAddressSpace = rlim_t(1) << 30;

// Tasks the process may add to those running when it starts: its own
// threads (Qt's pool grows with the processor count) and room for the rest
// of the session to grow while it stays resident.
constexpr rlim_t kTaskMargin = 2048;

void limit(int resource, rlim_t value) {
    const rlimit bound{value, value};
    setrlimit(resource, &bound);
}

// Every task of the system, threads included, from /proc/loadavg
// ("0.00 0.01 0.05 1/345 6789"); 0 when it cannot be read.
rlim_t systemTasks() {
    std::ifstream loadavg("/proc/loadavg");
    std::string averages[3];
    rlim_t running = 0;
    char slash = 0;
    rlim_t tasks = 0;
    loadavg >> averages[0] >> averages[1] >> averages[2] >> running >> slash >> tasks;
    return loadavg && slash == '/' ? tasks : 0;
}

} // namespace

void limitPictureProcess() {
    setpgid(0, 0);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer reserves far more address space than this up front;
    // its builds bound the process by time alone.
    limit(RLIMIT_AS, kAddressSpace);
#endif
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_FSIZE, 0);
    // A write the limit refuses fails with an error instead of ending the process.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, nullptr);
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
}

// The kernel counts all of the user's tasks against this bound when a
// process or thread is started, so it is the system's count now, which is
// never below the user's, plus the margin. Should the rest of the session
// outgrow the margin, a thread the process starts later fails, and the
// request waiting on it fails or runs out of time (Qt's pool waits for ever
// on a thread it could not start); the program then starts a new process,
// bounded afresh. The system does not apply the bound to root.
void limitTasks() {
    const rlim_t tasks = systemTasks();
    rlimit current{};
    if (tasks == 0 || getrlimit(RLIMIT_NPROC, &current) != 0)
        return;
    limit(RLIMIT_NPROC, std::min(tasks + kTaskMargin, current.rlim_cur));
}

} // namespace vitrandel::pictures
