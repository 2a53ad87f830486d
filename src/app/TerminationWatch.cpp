#include "app/TerminationWatch.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Watched = {SIGTERM, SIGHUP, SIGINT};

// Written by the handler, read by the watch. A process has one watch.
int pipeEnds[2] = {-1, -1};

extern "C" void onTerminationSignal(int number) {
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[0], &byte, 1);
    errno = saved;
}

} // namespace

TerminationWatch::TerminationWatch(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0) return; // another watch has the signals
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatch::readSignals);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t set;
    sigemptyset(&set);
    for (int number : Watched) {
        ::sigaction(number, &action, nullptr);
        sigaddset(&set, number);
    }
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

TerminationWatch::~TerminationWatch() {
    if (!notifier_) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : Watched) ::sigaction(number, &action, nullptr);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationWatch::readSignals() {
    char bytes[16];
    ssize_t n;
    while ((n = ::read(pipeEnds[1], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i) emit terminationRequested(static_cast<unsigned char>(bytes[i]));
}
