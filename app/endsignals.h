// TEndSignals: the signals that ask a desktop program to end (SIGTERM at a logout or from
// `kill`, SIGHUP when its terminal goes, SIGINT from Ctrl+C) are taken from the message loop,
// not from the signal handler: the handler only writes a byte into a pipe that the loop reads.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quarvel {

class TEndSignals : public QObject {
public:
    // Installs the handlers. Until OnSignal is set, a signal ends the message loop with 0.
    TEndSignals();
    // Puts the default handlers back.
    ~TEndSignals() override;
    TEndSignals(const TEndSignals&) = delete;
    TEndSignals& operator=(const TEndSignals&) = delete;

    // Runs in the message loop, once per signal that arrived.
    std::function<void(int signal)> OnSignal;

private:
    void Read();

    QSocketNotifier* Notifier = nullptr;
};

} // namespace quarvel
