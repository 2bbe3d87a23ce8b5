#include "cli/process.h"

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace cli {

#ifdef _WIN32

unsigned ReopenClosedStandardDescriptors() { return 0; }
void InstallSignalCleanup() {}
void RegisterTemporary(const srt::NativePath&) {}
void RegisterCutBack(int, std::uint64_t) {}
SignalsHeld::SignalsHeld() {}
SignalsHeld::~SignalsHeld() {}

#else

namespace {

// What the handler may touch: plain data, written only while the signals
// are held or before they can arrive.
char gTemporary[4096];
volatile std::sig_atomic_t gHasTemporary = 0;
volatile std::sig_atomic_t gCutFd = -1;
off_t gCutSize = 0;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int signal) {
    const int saved = errno;
    if (gHasTemporary) unlink(gTemporary);
    if (gCutFd >= 0) {
        if (ftruncate(gCutFd, gCutSize) != 0) {
            // Nothing more can be done in a handler.
        }
    }
    errno = saved;
    std::signal(signal, SIG_DFL);
    raise(signal);
}

sigset_t Held() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kSignals) sigaddset(&set, s);
    return set;
}

}  // namespace

unsigned ReopenClosedStandardDescriptors() {
    unsigned closed = 0;
    for (int fd = 0; fd < 3; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free number: this one.
        const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened != fd && opened >= 0) {
            dup2(opened, fd);
            close(opened);
        }
        closed |= 1u << fd;
    }
    return closed;
}

void InstallSignalCleanup() {
    for (int s : kSignals) {
        struct sigaction action {};
        // A signal ignored by the parent (nohup) stays ignored.
        if (sigaction(s, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
        action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals) sigaddset(&action.sa_mask, other);
        sigaction(s, &action, nullptr);
    }
}

void RegisterTemporary(const srt::NativePath& path) {
    SignalsHeld held;
    gHasTemporary = 0;
    if (path.empty() || path.size() >= sizeof gTemporary) return;
    std::memcpy(gTemporary, path.c_str(), path.size() + 1);
    gHasTemporary = 1;
}

void RegisterCutBack(int fd, std::uint64_t size) {
    SignalsHeld held;
    gCutSize = off_t(size);
    gCutFd = fd;
}

SignalsHeld::SignalsHeld() {
    const sigset_t set = Held();
    held_ = sigprocmask(SIG_BLOCK, &set, &before_) == 0;
}

SignalsHeld::~SignalsHeld() {
    // Back to the mask before: an outer hold stays in force.
    if (held_) sigprocmask(SIG_SETMASK, &before_, nullptr);
}

#endif

}  // namespace cli
