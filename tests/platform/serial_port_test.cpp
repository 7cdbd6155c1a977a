// The serial port control on a real pseudo-terminal pair, reached through the
// same port-number mapping an operator uses.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/port_map.h"
#include "platform/serial_port.h"
#include "support/pty_pair.h"

namespace {

using platform::LineSettings;
using testing_support::PtyPair;

void WriteText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

TEST(LineSettingsTest, ReadsTheSettingsTextsOperatorsType) {
    struct Case {
        const char* text;
        bool ok;
        int baud;
        char parity;
        int data;
        int stop;
    };
    const Case cases[] = {
        {"9600,N,8,1", true, 9600, 'N', 8, 1},
        {"4800,n,8,2", true, 4800, 'N', 8, 2},
        {"14400,E,7,1", true, 14400, 'E', 7, 1},
        {"28800,O,8,1", true, 28800, 'O', 8, 1},
        {"56000,N,8,1.5", true, 56000, 'N', 8, 2},
        {"1200, N, 8, 2", true, 1200, 'N', 8, 2},
        {"9600,N,8", false, 0, 0, 0, 0},
        {"9600,X,8,1", false, 0, 0, 0, 0},
        {"9600,N,9,1", false, 0, 0, 0, 0},
        {"9600,N,8,3", false, 0, 0, 0, 0},
        {"fast,N,8,1", false, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LineSettings s;
        ASSERT_EQ(platform::ParseLineSettings(QString::fromLatin1(c.text), &s), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(s.baud, c.baud) << c.text;
        EXPECT_EQ(s.parity, c.parity) << c.text;
        EXPECT_EQ(s.dataBits, c.data) << c.text;
        EXPECT_EQ(s.stopBits, c.stop) << c.text;
    }
}

TEST(PortMapTest, PortNumbersMapToTtySUnlessPortsTxtSaysOtherwise) {
    QTemporaryDir dir;
    EXPECT_EQ(platform::PortMap::Load(dir.path()).DevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(platform::PortMap::Load(dir.path()).DevicePath(4), "/dev/ttyS3");
    EXPECT_EQ(platform::PortMap::Load(dir.path()).DevicePath(0), "");
    WriteText(dir.path() + "/Ports.txt",
              "# explanation\r\ncom3 = /dev/ttyUSB0\r\nCOM12=/dev/ttyACM1\nPEGASUS=/srv/peg\r\nnonsense\r\n");
    const auto map = platform::PortMap::Load(dir.path());
    EXPECT_EQ(map.DevicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(map.DevicePath(12), "/dev/ttyACM1");
    EXPECT_EQ(map.DevicePath(2), "/dev/ttyS1");
    EXPECT_EQ(map.PegasusFolder(), "/srv/peg");
}

TEST(PortMapTest, ShippedPortsTxtWritesOutTheDefaults) {
    const auto map = platform::PortMap::Load(QStringLiteral(OSTREL_DATA_DIR));
    for (int port = 1; port <= 16; ++port)
        EXPECT_EQ(map.DevicePath(port), QStringLiteral("/dev/ttyS%1").arg(port - 1));
}

TEST(PortMapTest, PegasusFolderIsTheWineViewOfCPegasus) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", "/home/op/.wine-radio");
    EXPECT_EQ(platform::PortMap::Load(dir.path()).PegasusFolder(), "/home/op/.wine-radio/drive_c/Pegasus");
    qunsetenv("WINEPREFIX");
    EXPECT_EQ(platform::PortMap::Load(dir.path()).PegasusFolder(), QDir::homePath() + "/.wine/drive_c/Pegasus");
    if (!saved.isEmpty()) qputenv("WINEPREFIX", saved);
}

TEST(SerialPortTest, BytesTravelBothWaysAtOnceOnAPseudoTerminal) {
    QTemporaryDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(dir.path(), 3);
    auto port = platform::NewSystemSerialPort(dir.path());
    port->SetPortNumber(3);
    EXPECT_EQ(port->DevicePath(), pty.slavePath());
    port->SetSettings("14400,N,8,2");
    // A pseudo-terminal has no modem lines: setting them is no failure.
    port->SetDtr(true);
    port->SetRts(false);
    QString error;
    ASSERT_TRUE(port->Open(&error)) << error.toStdString();
    EXPECT_TRUE(port->IsOpen());
    EXPECT_TRUE(port->Dtr());

    // Output leaves before the call returns: no event loop runs here.
    ASSERT_TRUE(port->Output(QByteArray("FA;MD;"), &error));
    EXPECT_EQ(pty.Read(6), "FA;MD;");
    const QByteArray bytes("\x00\xFE\xFD\x0D\xFF", 5);
    ASSERT_TRUE(port->Output(bytes, &error));
    EXPECT_EQ(pty.Read(5), bytes);

    pty.Write("FA00014025000;");
    for (int i = 0; i < 50 && port->InBufferCount() < 14; ++i) ::usleep(2000);
    EXPECT_EQ(port->InBufferCount(), 14);
    EXPECT_EQ(port->Input(), "FA00014025000;");
    EXPECT_EQ(port->Input(), "");

    pty.Write("old");
    for (int i = 0; i < 50 && port->InBufferCount() < 3; ++i) ::usleep(2000);
    port->DiscardInput();
    EXPECT_EQ(port->Input(), "");

    port->Close();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->Input(), "");
    EXPECT_FALSE(port->Output("x", &error));
}

TEST(SerialPortTest, OpenFailsForMissingBusyOrBadlySetPorts) {
    QTemporaryDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.MapAsPort(dir.path(), 2);
    WriteText(dir.path() + "/notatty", "plain file");
    QFile ports(dir.path() + "/Ports.txt");
    ASSERT_TRUE(ports.open(QIODevice::Append));
    ports.write(("COM7=" + dir.path() + "/none\r\nCOM8=" + dir.path() + "/notatty\r\n").toLocal8Bit());
    ports.close();

    QString error;
    auto missing = platform::NewSystemSerialPort(dir.path());
    missing->SetPortNumber(7);
    EXPECT_FALSE(missing->Open(&error));
    EXPECT_TRUE(error.contains("COM7")) << error.toStdString();
    EXPECT_FALSE(missing->IsOpen());

    auto plain = platform::NewSystemSerialPort(dir.path());
    plain->SetPortNumber(8);
    EXPECT_FALSE(plain->Open(&error));

    auto bad = platform::NewSystemSerialPort(dir.path());
    bad->SetPortNumber(2);
    bad->SetSettings("9600,Q,8,1");
    EXPECT_FALSE(bad->Open(&error));
    EXPECT_FALSE(bad->IsOpen());

    auto first = platform::NewSystemSerialPort(dir.path());
    first->SetPortNumber(2);
    ASSERT_TRUE(first->Open(&error)) << error.toStdString();
    auto second = platform::NewSystemSerialPort(dir.path());
    second->SetPortNumber(2);
    EXPECT_FALSE(second->Open(&error));
    EXPECT_TRUE(error.contains("in use")) << error.toStdString();
    first->Close();
    EXPECT_TRUE(second->Open(&error)) << error.toStdString();
}

}  // namespace
