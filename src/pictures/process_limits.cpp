// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/process_limits.h"

#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vitrandel::pictures {
namespace {

// Qt, the fonts and a picture of the largest allowed size take a fraction of it.
constexpr rlim_t kAddressSpace = rlim_t(1) << 30;

void limit(int resource, rlim_t value) {
    const rlimit bound{value, value};
    setrlimit(resource, &bound);
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

} // namespace vitrandel::pictures
