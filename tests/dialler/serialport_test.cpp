// The serial port on a real terminal device: a pseudo-terminal stands in for the modem's port.
#include <cstdlib>
#include <sys/ioctl.h>
#include <termios.h>

#include <gtest/gtest.h>

#include "platform/serialport.h"
#include "tests/dialler/pseudoterminal.h"

namespace talik {
namespace {

using dialler::test::PseudoTerminal;

TEST(LineSettings, ReadBaudParityDataAndStopBits)
{
    auto line = ParseLineSettings("2400,N,8,1");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->baud, 2400);
    EXPECT_EQ(line->parity, 'N');
    EXPECT_EQ(line->dataBits, 8);
    EXPECT_EQ(line->stopBits, 1);
    auto other = ParseLineSettings("9600,e,7,2");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->parity, 'E');
    EXPECT_EQ(other->dataBits, 7);
    EXPECT_EQ(other->stopBits, 2);
}

TEST(LineSettings, RejectWhatALineCannotTake)
{
    for (const char* bad : {"", "2400", "2400,N,8", "2400,N,8,1,1", "2401,N,8,1", "2400,X,8,1", "2400,N,9,1",
                            "2400,N,8,3", "2400,NN,8,1", "x,N,8,1", "2400,N,8,1 "}) {
        EXPECT_FALSE(ParseLineSettings(bad)) << bad;
    }
}

TEST(SerialDevice, PortNIsTtySNMinusOneUnlessTheEnvironmentNamesAnother)
{
    EXPECT_EQ(SerialDevicePath(1, nullptr), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(3, ""), "/dev/ttyS2");
    EXPECT_EQ(SerialDevicePath(3, "/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath(0, nullptr), "");
    setenv("TALIK_COM7", "/dev/pts/99", 1);
    EXPECT_EQ(SerialDevicePath(7), "/dev/pts/99");
    unsetenv("TALIK_COM7");
    EXPECT_EQ(SerialDevicePath(7), "/dev/ttyS6");
}

class PortOnPty : public ::testing::Test
{
protected:
    PseudoTerminal modem;
    PosixSerialPort port;
};

TEST_F(PortOnPty, OpensRawAt2400N81WithoutCarrierAndExclusively)
{
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1")) << port.error();
    EXPECT_TRUE(port.isOpen());
    termios tio{};
    ASSERT_EQ(tcgetattr(modem.slaveFd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B2400);
    EXPECT_EQ(cfgetispeed(&tio), B2400);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_FALSE(tio.c_iflag & (ICRNL | IXON));
    int exclusive = 0;
    ASSERT_EQ(ioctl(modem.slaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
}

TEST_F(PortOnPty, SendsAndReceivesBytesUnchanged)
{
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1")) << port.error();
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_TRUE(port.write("AT\r\n"));
    EXPECT_EQ(modem.readUntil("\n", 5000), "AT\r\n");
    modem.reply("\r\nOK\r\n");
    std::string got;
    for (int i = 0; i < 500 && got.size() < 6; ++i) {
        got += port.readAvailable();
        usleep(2000);
    }
    EXPECT_EQ(got, "\r\nOK\r\n");
    EXPECT_EQ(port.outBufferCount(), 0);
}

TEST_F(PortOnPty, DrainsWhatWasSentAndDropsDtrWhenClosedEvenByADyingProgram)
{
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1")) << port.error();
    EXPECT_TRUE(port.write("+++"));
    EXPECT_TRUE(port.drain()) << port.error();
    EXPECT_EQ(port.outBufferCount(), 0);
    EXPECT_EQ(modem.readUntil("+++", 5000), "+++");
    termios tio{};
    ASSERT_EQ(tcgetattr(modem.slaveFd(), &tio), 0);
    EXPECT_TRUE(tio.c_cflag & HUPCL); // the kernel drops DTR at the last close
}

TEST_F(PortOnPty, CountsAndClearsWhatArrived)
{
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1")) << port.error();
    modem.reply("OK\r\n");
    for (int i = 0; i < 500 && port.inBufferCount() < 4; ++i) {
        usleep(2000);
    }
    EXPECT_EQ(port.inBufferCount(), 4);
    port.clearInput();
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.readAvailable(), "");
}

TEST_F(PortOnPty, OpensByNumberThroughTheEnvironment)
{
    setenv("TALIK_COM5", modem.slavePath().c_str(), 1);
    bool opened = port.open(5, "2400,N,8,1");
    unsetenv("TALIK_COM5");
    EXPECT_TRUE(opened) << port.error();
}

TEST_F(PortOnPty, FailuresAreReportedNotThrown)
{
    EXPECT_FALSE(port.openDevice("/nonexistent/ttyS9", "2400,N,8,1"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_NE(port.error().find("/nonexistent/ttyS9"), std::string::npos);
    EXPECT_FALSE(port.openDevice(modem.slavePath(), "2400,Q,8,1"));
    EXPECT_FALSE(port.openDevice("/dev/null", "2400,N,8,1")); // not a terminal
    EXPECT_FALSE(port.open(0, "2400,N,8,1"));
    EXPECT_FALSE(port.write("AT\r\n"));
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(port.outBufferCount(), 0);
    EXPECT_FALSE(port.drain());
    port.clearInput();
    port.close();
}

TEST_F(PortOnPty, ClosingReleasesTheDevice)
{
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1"));
    port.close();
    EXPECT_FALSE(port.isOpen());
    int exclusive = 1;
    ASSERT_EQ(ioctl(modem.slaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ASSERT_TRUE(port.openDevice(modem.slavePath(), "2400,N,8,1")) << port.error();
}

} // namespace
} // namespace talik
