// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/picture_sandbox.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sched.h>
#include <seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace vitrandel::pictures {
namespace {

using Filter = std::unique_ptr<void, decltype(&seccomp_release)>;

#ifndef __SANITIZE_ADDRESS__
// What drawing into a pipe needs: memory, reading files (fonts, the
// metafile), threads, time, signals and the pipes already open.
constexpr const char* kAllowed[] = {
    "read", "readv", "pread64", "write", "writev", "lseek", "close", "fstat", "newfstatat", "stat",
    "lstat", "statx", "fstatfs", "statfs", "getdents64", "readlink", "readlinkat", "access",
    "faccessat", "faccessat2", "getcwd", "fcntl", "dup", "dup2", "dup3", "fadvise64",
    "mmap", "munmap", "mprotect", "mremap", "brk", "madvise", "mincore", "membarrier",
    "futex", "set_robust_list", "get_robust_list", "rseq", "set_tid_address",
    "rt_sigaction", "rt_sigprocmask", "rt_sigreturn", "sigaltstack", "restart_syscall",
    "gettid", "getpid", "getppid", "getuid", "geteuid", "getgid", "getegid", "getresuid", "getresgid",
    "clock_gettime", "clock_getres", "gettimeofday", "time", "nanosleep", "clock_nanosleep",
    "sched_yield", "sched_getaffinity", "sched_getparam", "sched_getscheduler", "getpriority",
    "getrandom", "exit", "exit_group", "alarm", "setitimer", "prlimit64", "getrlimit", "uname", "sysinfo",
    "poll", "ppoll", "select", "pselect6", "eventfd2", "pipe2",
};

void allow(scmp_filter_ctx filter, const char* name) {
    const int number = seccomp_syscall_resolve_name(name);
    if (number != __NR_SCMP_ERROR)
        seccomp_rule_add(filter, SCMP_ACT_ALLOW, number, 0);
}
#endif

// The calls a hostile file would need to reach outside, refused outright
// (under a sanitizer, whose runtime needs calls no list can foresee, these
// are the whole filter, less what its leak checker needs at exit).
void refuseEscapes(scmp_filter_ctx filter) {
    const uint32_t refuse = SCMP_ACT_ERRNO(EPERM);
    for (const scmp_datum_t mode : {scmp_datum_t(O_WRONLY), scmp_datum_t(O_RDWR)}) {
        seccomp_rule_add(filter, refuse, SCMP_SYS(openat), 1, SCMP_A2(SCMP_CMP_MASKED_EQ, O_ACCMODE, mode));
        seccomp_rule_add(filter, refuse, SCMP_SYS(open), 1, SCMP_A1(SCMP_CMP_MASKED_EQ, O_ACCMODE, mode));
    }
    seccomp_rule_add(filter, refuse, SCMP_SYS(openat), 1, SCMP_A2(SCMP_CMP_MASKED_EQ, O_CREAT, O_CREAT));
    seccomp_rule_add(filter, refuse, SCMP_SYS(open), 1, SCMP_A1(SCMP_CMP_MASKED_EQ, O_CREAT, O_CREAT));
    seccomp_rule_add(filter, refuse, SCMP_SYS(creat), 0);
    seccomp_rule_add(filter, refuse, SCMP_SYS(openat2), 0);
#ifdef __SANITIZE_ADDRESS__
    // A new process with memory of its own. The leak checker stops the
    // threads at exit from a task that shares this memory and traces them.
    seccomp_rule_add(filter, refuse, SCMP_SYS(clone), 1, SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_VM, 0));
#else
    // A new process, not a thread of this one.
    seccomp_rule_add(filter, refuse, SCMP_SYS(clone), 1, SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0));
#endif
    // Its flags lie in memory the filter cannot read; threads fall back to clone.
    seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0);
    for (const int call : {SCMP_SYS(fork), SCMP_SYS(vfork), SCMP_SYS(execve), SCMP_SYS(execveat),
                           SCMP_SYS(socket), SCMP_SYS(socketpair), SCMP_SYS(connect),
#ifndef __SANITIZE_ADDRESS__
                           SCMP_SYS(ptrace),
#endif
                           SCMP_SYS(rename), SCMP_SYS(renameat), SCMP_SYS(renameat2), SCMP_SYS(unlink),
                           SCMP_SYS(unlinkat), SCMP_SYS(truncate), SCMP_SYS(mkdir), SCMP_SYS(mkdirat),
                           SCMP_SYS(symlink), SCMP_SYS(symlinkat), SCMP_SYS(link), SCMP_SYS(linkat),
                           SCMP_SYS(chmod), SCMP_SYS(fchmodat), SCMP_SYS(kill), SCMP_SYS(setsid),
                           SCMP_SYS(setpgid)})
        seccomp_rule_add(filter, refuse, call, 0);
}

} // namespace

bool enterPictureSandbox() {
#ifdef __SANITIZE_ADDRESS__
    const uint32_t otherwise = SCMP_ACT_ALLOW;
#else
    const uint32_t otherwise = SCMP_ACT_ERRNO(EPERM);
#endif
    Filter filter(seccomp_init(otherwise), &seccomp_release);
    if (!filter)
        return false;
    refuseEscapes(filter.get());
#ifndef __SANITIZE_ADDRESS__
    for (const char* name : kAllowed)
        allow(filter.get(), name);
    // Files are opened for reading only; the refusals above take the rest.
    seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(openat), 1,
                     SCMP_A2(SCMP_CMP_MASKED_EQ, O_ACCMODE | O_CREAT, O_RDONLY));
    seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(open), 1,
                     SCMP_A1(SCMP_CMP_MASKED_EQ, O_ACCMODE | O_CREAT, O_RDONLY));
    seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                     SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD));
    // Signals only to its own threads (abort() raises one).
    seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(tgkill), 1, SCMP_A0(SCMP_CMP_EQ, scmp_datum_t(::getpid())));
    // Asking whether a descriptor is a terminal, or how much it holds; no
    // other request, so that no terminal opened for reading takes input.
    for (const unsigned long request : {TCGETS, FIONREAD})
        seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(ioctl), 1, SCMP_A1(SCMP_CMP_EQ, request));
    // Threads name themselves.
    for (const scmp_datum_t option : {scmp_datum_t(PR_SET_NAME), scmp_datum_t(PR_GET_NAME)})
        seccomp_rule_add(filter.get(), SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1, SCMP_A0(SCMP_CMP_EQ, option));
#endif
    return seccomp_load(filter.get()) == 0;
}

} // namespace vitrandel::pictures
