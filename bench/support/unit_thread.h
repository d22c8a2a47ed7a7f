// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/unit_conventions.h"
#include "support/plain_udp.h"

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace bench {

inline constexpr auto kUnitPort = static_cast<std::uint16_t>(corvane::kUnitPort);

// Play for unit 1 as it must leave the program, written out by hand:
// 0xF1, 0x01 0x04, "1", "@", "PL" CR, checksum 0xFF 0x01 0x1F (sum 287), 0xF2.
inline const std::string kPlayFrame("\xF1\x01\x04"
                                    "1@PL\r"
                                    "\xFF\x01\x1F\xF2",
                                    12);

// A unit on another thread, on a plain socket bound to 127.0.0.1 at the units' port: it
// takes every datagram, counts it, counts it again when it is not the Play
// frame, and, when given an answer, sends that answer back to the sender. The
// same unit serves the program's path and the floor, so both pay the same for
// the far end.
class UnitThread
{
public:
    explicit UnitThread(std::optional<std::string> answer);
    ~UnitThread();
    UnitThread(const UnitThread &) = delete;
    UnitThread &operator=(const UnitThread &) = delete;

    bool isListening() const { return m_listening; }
    long received() const { return m_received.load(std::memory_order_acquire); }
    long notPlay() const { return m_notPlay.load(std::memory_order_acquire); }

private:
    void run();

    PlainUdpSocket m_socket;
    std::optional<std::string> m_answer;
    bool m_listening = false;
    std::atomic<long> m_received{0}, m_notPlay{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace bench
