#pragma once
// Doubles for the dialler's seams: a clock that only moves when told (or when slept on), one that
// runs fast, a serial port that records what is sent, models the line's speed and replies from a
// script, and a notice that records messages.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dialler/notice.h"
#include "platform/clock.h"
#include "platform/serialport.h"

namespace talik::dialler::test {

class FakeClock final : public Clock
{
public:
    LocalTime now() const override { return {}; }
    void sleepMs(int ms) override
    {
        sleeps.push_back(ms);
        m_now += ms;
    }
    long long monotonicMs() const override { return m_now; }
    void advance(long long ms) { m_now += ms; }

    std::vector<int> sleeps;

private:
    long long m_now = 0;
};

// A clock that runs `speedUp` times faster than the real one: its pauses are real but short, so a
// modem on a real line hears real silence in proportion.
class FastClock final : public Clock
{
public:
    explicit FastClock(int speedUp) : m_speedUp(speedUp) {}
    LocalTime now() const override { return {}; }
    void sleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::microseconds(1000LL * ms / m_speedUp)); }
    long long monotonicMs() const override
    {
        auto real = std::chrono::steady_clock::now() - m_start;
        return m_speedUp * std::chrono::duration_cast<std::chrono::milliseconds>(real).count();
    }

private:
    const int m_speedUp;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

struct SentText
{
    std::string text;
    long long atMs;    // the fake clock's reading when it was handed to the port
    double leavesAtMs; // when its first byte starts out on the line
    double leftAtMs;   // when its last byte is off the line
};

// A port on a modelled line: bytes leave one after the other at `byteMs` each (0: at once), and,
// as on a UART whose transmit FIFO swallows a modem command whole, the output count is 0 while
// they are still going out. Only drain() waits for the line, by moving the clock on.
class FakeSerialPort final : public SerialPort
{
public:
    explicit FakeSerialPort(FakeClock& clock) : m_clock(clock) {}

    bool open(int portNumber, std::string_view settings) override
    {
        openedPort = portNumber;
        openedSettings = settings;
        m_open = !refuseOpen;
        return m_open;
    }
    bool isOpen() const override { return m_open; }
    bool write(std::string_view bytes) override
    {
        double leaves = std::max(static_cast<double>(m_clock.monotonicMs()), m_lineFreeAt);
        m_lineFreeAt = leaves + byteMs * static_cast<double>(bytes.size());
        sent.push_back({std::string(bytes), m_clock.monotonicMs(), leaves, m_lineFreeAt});
        if (onSent) {
            onSent(sent.back());
        }
        return m_open;
    }
    // One scripted chunk per call, as a modem's reply trickles in; then whatever timed reply has
    // arrived by now.
    std::string readAvailable() override
    {
        if (!incoming.empty()) {
            std::string chunk = incoming.front();
            incoming.pop_front();
            return chunk;
        }
        std::string arrived;
        while (!m_timed.empty() && m_timed.front().first <= static_cast<double>(m_clock.monotonicMs())) {
            arrived += m_timed.front().second;
            m_timed.pop_front();
        }
        return arrived;
    }
    int inBufferCount() const override { return incoming.empty() ? 0 : static_cast<int>(incoming.front().size()); }
    // The scripted counts, one per call, then 0; -1 in the script means "never drains".
    int outBufferCount() const override
    {
        if (outCounts.empty()) {
            return 0;
        }
        int count = outCounts.front();
        if (count >= 0) {
            outCounts.pop_front();
        }
        return count < 0 ? 1 : count;
    }
    bool drain() override
    {
        ++drains;
        long long lineFree = static_cast<long long>(std::ceil(m_lineFreeAt));
        if (lineFree > m_clock.monotonicMs()) {
            m_clock.advance(lineFree - m_clock.monotonicMs());
        }
        return m_open;
    }
    void clearInput() override
    {
        incoming.clear();
        while (!m_timed.empty() && m_timed.front().first <= static_cast<double>(m_clock.monotonicMs())) {
            m_timed.pop_front();
        }
        ++inputClears;
    }
    void close() override { m_open = false; }
    const std::string& error() const override { return m_error; }

    // `text` arrives from the modem at `atMs` on the clock (in the order of the calls).
    void replyAt(double atMs, std::string text) { m_timed.emplace_back(atMs, std::move(text)); }

    std::vector<std::string> sentTexts() const
    {
        std::vector<std::string> texts;
        for (const SentText& s : sent) {
            texts.push_back(s.text);
        }
        return texts;
    }

    bool refuseOpen = false;
    double byteMs = 0;
    std::function<void(const SentText&)> onSent; // the modem's side: hears each text as it is sent
    std::deque<std::string> incoming;
    mutable std::deque<int> outCounts;
    int openedPort = -1;
    std::string openedSettings;
    std::vector<SentText> sent;
    int inputClears = 0;
    int drains = 0;

private:
    FakeClock& m_clock;
    bool m_open = false;
    double m_lineFreeAt = 0;
    std::deque<std::pair<double, std::string>> m_timed;
    std::string m_error = "refused";
};

class RecordingNotice final : public Notice
{
public:
    void show(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

} // namespace talik::dialler::test
