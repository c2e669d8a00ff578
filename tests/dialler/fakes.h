#pragma once
// Doubles for the dialler's seams: a clock that only moves when told (or when slept on), a serial
// port that records what is sent and replies from a script, and a notice that records messages.
#include <deque>
#include <string>
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

struct SentText
{
    std::string text;
    long long atMs; // the fake clock's reading when it was sent
};

class FakeSerialPort final : public SerialPort
{
public:
    explicit FakeSerialPort(const Clock& clock) : m_clock(clock) {}

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
        sent.push_back({std::string(bytes), m_clock.monotonicMs()});
        return m_open;
    }
    // One scripted chunk per call, as a modem's reply trickles in.
    std::string readAvailable() override
    {
        if (incoming.empty()) {
            return {};
        }
        std::string chunk = incoming.front();
        incoming.pop_front();
        return chunk;
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
    void clearInput() override
    {
        incoming.clear();
        ++inputClears;
    }
    void close() override { m_open = false; }
    const std::string& error() const override { return m_error; }

    std::vector<std::string> sentTexts() const
    {
        std::vector<std::string> texts;
        for (const SentText& s : sent) {
            texts.push_back(s.text);
        }
        return texts;
    }

    bool refuseOpen = false;
    std::deque<std::string> incoming;
    mutable std::deque<int> outCounts;
    int openedPort = -1;
    std::string openedSettings;
    std::vector<SentText> sent;
    int inputClears = 0;

private:
    const Clock& m_clock;
    bool m_open = false;
    std::string m_error = "refused";
};

class RecordingNotice final : public Notice
{
public:
    void show(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

} // namespace talik::dialler::test
