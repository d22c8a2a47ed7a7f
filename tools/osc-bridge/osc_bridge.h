// SPDX-License-Identifier: MIT
#pragma once

// The bridge from OSC to the units. liblo reads the OSC socket, takes
// bundles apart and calls back once per message, all inside the Qt event
// loop: a QSocketNotifier wakes it when a datagram is waiting, so no thread
// of its own is needed. Each message becomes one press on the headless
// controller, which checks, frames, sends and follows the replies as the
// window does; its outcome goes back to the address and port the message
// came from, from the same OSC socket:
//
//   /unit/ID/COMMAND --> HeadlessController::press --> units
//   replied / resendsSpent / timedOut / checkFailed --> /unit/ID/reply ... to the sender

#include <QLoggingCategory>
#include <QObject>

#include <lo/lo_types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

class QSocketNotifier;

Q_DECLARE_LOGGING_CATEGORY(lcOsc)

namespace corvane {

class HeadlessController;

class OscBridge : public QObject
{
    Q_OBJECT

public:
    explicit OscBridge(std::chrono::milliseconds replyTimeout, QObject *parent = nullptr);
    ~OscBridge() override;

    // Takes OSC on the IPv4 address (host byte order) and port; on failure
    // says why and stays deaf.
    bool listen(std::uint32_t address, std::uint16_t port, QString *error);

    // Binds the units' side from local port 1028, as the window does, and
    // sends every command to `unitAddress`.
    void startUp(const std::string &unitAddress);

private:
    struct AddressFree
    {
        void operator()(lo_address address) const;
    };
    using Address = std::unique_ptr<std::remove_pointer_t<lo_address>, AddressFree>;

    static int messageArrived(const char *path, const char *types, lo_arg **argv, int argc,
                              lo_message message, void *self);
    void handle(const char *path, const char *types, lo_arg **argv, lo_message message);
    void answer(lo_address to, const std::string &unitId, const char *leaf,
                const std::string *text = nullptr);
    void answerPending(const char *leaf, const std::string *text = nullptr);
    void receive();

    lo_server m_server = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    HeadlessController *m_unit;
    // Who pressed last: the one command whose outcome is still to be told.
    std::string m_pendingUnitId;
    Address m_pendingSender;
};

} // namespace corvane
