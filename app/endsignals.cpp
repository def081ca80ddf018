// TEndSignals: a self-pipe between the signal handler and the message loop.
#include "app/endsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT};
int PipeEnds[2] = {-1, -1};

// Only async-signal-safe calls: the signal's number into the pipe. A full pipe drops it: the
// loop has enough to do already.
extern "C" void SignalArrived(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    ssize_t written = ::write(PipeEnds[1], &byte, 1);
    (void)written;
    errno = saved;
}

} // namespace

TEndSignals::TEndSignals() {
    if (::pipe2(PipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return; // the signals keep ending us
    Notifier = new QSocketNotifier(PipeEnds[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, [this] { Read(); });
    struct sigaction action = {};
    action.sa_handler = SignalArrived;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : Signals) ::sigaction(s, &action, nullptr);
}

TEndSignals::~TEndSignals() {
    if (!Notifier) return;
    for (int s : Signals) ::signal(s, SIG_DFL);
    delete Notifier;
    ::close(PipeEnds[0]);
    ::close(PipeEnds[1]);
    PipeEnds[0] = PipeEnds[1] = -1;
}

void TEndSignals::Read() {
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(PipeEnds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (OnSignal)
                OnSignal(bytes[i]);
            else
                QCoreApplication::exit(0);
        }
    }
}

} // namespace quarvel
