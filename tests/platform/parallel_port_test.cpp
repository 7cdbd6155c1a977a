// The parallel port through ppdev: the configured base address found among
// the ports the system lists, and the failure of a machine without it.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/parallel_port.h"

namespace {

void WriteBase(const QString& procRoot, const QString& name, const QByteArray& text) {
    QDir().mkpath(procRoot + "/" + name);
    QFile file(procRoot + "/" + name + "/base-addr");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

}  // namespace

TEST(ParallelPort, FindsTheDeviceByItsBaseAddress) {
    QTemporaryDir dir;
    const QString proc = dir.path() + "/proc";
    WriteBase(proc, "parport0", "632\t1656\n");
    WriteBase(proc, "parport1", "888\t1912\n");
    const QString dev = dir.path() + "/dev";
    EXPECT_EQ(platform::ParallelDeviceFor(888, proc, dev), dev + "/parport1");
    EXPECT_EQ(platform::ParallelDeviceFor(632, proc, dev), dev + "/parport0");
    EXPECT_EQ(platform::ParallelDeviceFor(956, proc, dev), std::nullopt);
    EXPECT_EQ(platform::ParallelDeviceFor(888, dir.path() + "/none", dev), std::nullopt);
}

TEST(ParallelPort, AWriteThatCannotReachAPortFailsWithWords) {
    QTemporaryDir dir;
    const QString proc = dir.path() + "/proc";
    const QString dev = dir.path() + "/dev";
    WriteBase(proc, "parport0", "888\t1912\n");
    QDir().mkpath(dev);
    auto port = platform::NewSystemParallelPort(proc, dev);
    QString error;

    // No such port listed.
    EXPECT_FALSE(port->WriteControl(0x3BC, 3, &error));
    EXPECT_EQ(error, "No parallel port at address &H3BC.");
    // Listed, but its device is missing, then not a port at all.
    EXPECT_FALSE(port->WriteControl(0x378, 3, &error));
    EXPECT_TRUE(error.startsWith(dev + "/parport0: ")) << error.toStdString();
    QFile plain(dev + "/parport0");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(port->WriteControl(0x378, 3, &error));
    EXPECT_TRUE(error.startsWith(dev + "/parport0: ")) << error.toStdString();
    EXPECT_EQ(QFile(dev + "/parport0").size(), 0);

    // This machine's own ports: a write either reaches a port or fails.
    auto system = platform::NewSystemParallelPort();
    QString systemError;
    if (!system->WriteControl(0x378, 2, &systemError)) {
        EXPECT_FALSE(systemError.isEmpty());
    }
}
