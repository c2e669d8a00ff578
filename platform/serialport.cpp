#include "platform/serialport.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace talik {
namespace {

// How long a write waits for room in a full output queue before it gives up. Only a stalled line
// fills the kernel's queue with the few bytes of a modem command.
constexpr int WriteStallLimitMs = 2000;

std::optional<int> ParseNumber(std::string_view text)
{
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<speed_t> SpeedOf(int baud)
{
    struct Rate
    {
        int baud;
        speed_t speed;
    };
    static constexpr std::array<Rate, 11> Rates{{{300, B300},
                                                 {600, B600},
                                                 {1200, B1200},
                                                 {2400, B2400},
                                                 {4800, B4800},
                                                 {9600, B9600},
                                                 {19200, B19200},
                                                 {38400, B38400},
                                                 {57600, B57600},
                                                 {115200, B115200},
                                                 {230400, B230400}}};
    for (const Rate& rate : Rates) {
        if (rate.baud == baud) {
            return rate.speed;
        }
    }
    return std::nullopt;
}

tcflag_t DataBitsFlag(int dataBits)
{
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

std::string Describe(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view text)
{
    std::array<std::string_view, 4> parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == parts.size())) {
            return std::nullopt;
        }
        parts[i] = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    auto baud = ParseNumber(parts[0]);
    auto dataBits = ParseNumber(parts[2]);
    auto stopBits = ParseNumber(parts[3]);
    char parity = parts[1].size() == 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0]))) : 0;
    if (!baud || !SpeedOf(*baud) || !dataBits || *dataBits < 5 || *dataBits > 8 || !stopBits ||
        (*stopBits != 1 && *stopBits != 2) || (parity != 'N' && parity != 'E' && parity != 'O')) {
        return std::nullopt;
    }
    return LineSettings{*baud, parity, *dataBits, *stopBits};
}

std::string SerialDevicePath(int portNumber, const char* overrideDevice)
{
    if (portNumber < 1) {
        return {};
    }
    if (overrideDevice != nullptr && *overrideDevice != '\0') {
        return overrideDevice;
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string SerialDevicePath(int portNumber)
{
    std::string variable = "TALIK_COM" + std::to_string(portNumber);
    return SerialDevicePath(portNumber, std::getenv(variable.c_str()));
}

PosixSerialPort::~PosixSerialPort()
{
    close();
}

bool PosixSerialPort::open(int portNumber, std::string_view settings)
{
    std::string path = SerialDevicePath(portNumber);
    if (path.empty()) {
        m_error = "no such port: " + std::to_string(portNumber);
        return false;
    }
    return openDevice(path, settings);
}

bool PosixSerialPort::openDevice(const std::string& path, std::string_view settings)
{
    close();
    auto line = ParseLineSettings(settings);
    if (!line) {
        m_error = "bad line settings: " + std::string(settings);
        return false;
    }
    // Non-blocking from the start: without CLOCAL yet, a blocking open would wait for a carrier.
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        return fail(path);
    }
    if (ioctl(m_fd, TIOCEXCL) != 0) {
        return fail(path + " (exclusive use)");
    }
    if (!configure(*line)) {
        return false;
    }
    raiseModemLines();
    return true;
}

bool PosixSerialPort::fail(const std::string& what)
{
    m_error = Describe(what);
    close();
    return false;
}

bool PosixSerialPort::configure(const LineSettings& line)
{
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) {
        return fail("not a terminal");
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | HUPCL | DataBitsFlag(line.dataBits);
    if (line.parity != 'N') {
        tio.c_cflag |= PARENB | (line.parity == 'O' ? PARODD : 0);
    }
    if (line.stopBits == 2) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // Reads return at once with what is there: the caller polls.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    speed_t speed = *SpeedOf(line.baud);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        return fail("line settings");
    }
    return true;
}

void PosixSerialPort::raiseModemLines()
{
    // A modem wants DTR and RTS. A pseudo-terminal or a three-wire adapter has no such lines and
    // refuses the request: the port still works, so the refusal is not an error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(m_fd, TIOCMBIS, &lines);
}

void PosixSerialPort::dropModemLines()
{
    // As refusable as raising them: a pseudo-terminal has no DTR to drop.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(m_fd, TIOCMBIC, &lines);
}

bool PosixSerialPort::write(std::string_view bytes)
{
    if (m_fd < 0) {
        m_error = "port not open";
        return false;
    }
    while (!bytes.empty()) {
        ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        pollfd room{m_fd, POLLOUT, 0};
        if (written < 0 && errno == EAGAIN && poll(&room, 1, WriteStallLimitMs) > 0) {
            continue;
        }
        m_error = Describe("write");
        return false;
    }
    return true;
}

std::string PosixSerialPort::readAvailable()
{
    std::string arrived;
    if (m_fd < 0) {
        return arrived;
    }
    std::array<char, 1024> chunk;
    for (;;) {
        ssize_t got = ::read(m_fd, chunk.data(), chunk.size());
        if (got > 0) {
            arrived.append(chunk.data(), static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        // 0 or EAGAIN: nothing more has arrived. Other errors (a vanished USB modem, a closed
        // pseudo-terminal) look the same to the caller, who waits with a time limit.
        if (got < 0 && errno != EAGAIN) {
            m_error = Describe("read");
        }
        return arrived;
    }
}

int PosixSerialPort::inBufferCount() const
{
    int count = 0;
    return m_fd >= 0 && ioctl(m_fd, TIOCINQ, &count) == 0 ? count : 0;
}

int PosixSerialPort::outBufferCount() const
{
    // A device that cannot tell counts as empty, so nobody waits forever for it to drain.
    int count = 0;
    return m_fd >= 0 && ioctl(m_fd, TIOCOUTQ, &count) == 0 ? count : 0;
}

bool PosixSerialPort::drain()
{
    if (m_fd < 0) {
        m_error = "port not open";
        return false;
    }
    while (tcdrain(m_fd) != 0) {
        if (errno != EINTR) {
            m_error = Describe("drain");
            return false;
        }
    }
    return true;
}

void PosixSerialPort::clearInput()
{
    if (m_fd >= 0) {
        tcflush(m_fd, TCIFLUSH);
    }
}

void PosixSerialPort::close()
{
    if (m_fd >= 0) {
        dropModemLines();
        // Exclusive use ends with the last descriptor of the device; others may still hold one.
        (void)ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace talik
