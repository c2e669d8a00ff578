#pragma once
// The serial-port seam: a port addressed by its number, opened with line settings such as
// "2400,N,8,1", text written and whatever has arrived read back without waiting. Failures come
// back as return values with a description in error(); nothing throws.
//
// Port n is the device /dev/ttyS(n-1), unless $TALIK_COM<n> names another device (a USB modem,
// or the slave side of a pseudo-terminal in tests).
#include <optional>
#include <string>
#include <string_view>

namespace talik {

// Line settings in the "baud,parity,data bits,stop bits" form, e.g. "2400,N,8,1".
struct LineSettings
{
    int baud = 0;
    char parity = 'N'; // 'N' none, 'E' even, 'O' odd
    int dataBits = 8;  // 5..8
    int stopBits = 1;  // 1 or 2
};

// nullopt when the text is not in that form or names a rate or size the line cannot take.
std::optional<LineSettings> ParseLineSettings(std::string_view text);

// The device of port `portNumber`: `overrideDevice` when given and not empty, else /dev/ttyS(n-1).
// Empty for port numbers below 1.
std::string SerialDevicePath(int portNumber, const char* overrideDevice);
// The same, with the override taken from the environment variable TALIK_COM<n>.
std::string SerialDevicePath(int portNumber);

class SerialPort
{
public:
    virtual ~SerialPort() = default;
    // Opens port `portNumber` with `settings`; false (see error()) when it cannot be used.
    virtual bool open(int portNumber, std::string_view settings) = 0;
    virtual bool isOpen() const = 0;
    // Queues `bytes` for sending; false when the port refused them.
    virtual bool write(std::string_view bytes) = 0;
    // Everything that has arrived so far; empty when nothing has. Never waits.
    virtual std::string readAvailable() = 0;
    // Bytes received and not yet read, and bytes queued and not yet sent.
    virtual int inBufferCount() const = 0;
    virtual int outBufferCount() const = 0;
    // Waits until every byte handed over has left the line, the device's own transmit buffer
    // included (outBufferCount() can be 0 while a UART still shifts its last bytes out). Call it
    // once the count is 0: it waits for a stalled line as long as the line stalls.
    // False when the port is not open or the device refused.
    virtual bool drain() = 0;
    // Throws away whatever has arrived and not been read.
    virtual void clearInput() = 0;
    virtual void close() = 0;
    // What went wrong last, for the record; the user sees the program's own message.
    virtual const std::string& error() const = 0;
};

// The port on a terminal device through termios: raw, the given speed and frame, CLOCAL (no carrier
// needed), exclusive (TIOCEXCL), non-blocking reads. DTR drops when the port closes (HUPCL, and
// explicitly on close()), so a modem set to hang up on DTR does so even if the program dies.
class PosixSerialPort final : public SerialPort
{
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(int portNumber, std::string_view settings) override;
    // Opens the device at `path` directly (the port number only picks the device).
    bool openDevice(const std::string& path, std::string_view settings);
    bool isOpen() const override { return m_fd >= 0; }
    bool write(std::string_view bytes) override;
    std::string readAvailable() override;
    int inBufferCount() const override;
    int outBufferCount() const override;
    bool drain() override;
    void clearInput() override;
    void close() override;
    const std::string& error() const override { return m_error; }

private:
    bool fail(const std::string& what);
    bool configure(const LineSettings& line);
    void raiseModemLines();
    void dropModemLines();

    int m_fd = -1;
    std::string m_error;
};

} // namespace talik
