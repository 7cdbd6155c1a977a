#pragma once
// A DX cluster node on loopback for the Telnet source: the node a test talks
// to from its own thread, and a feed that serves spot lines at a steady rate
// from a thread of its own, as a busy node on the network does whatever the
// logger's window thread is doing.
#include <QByteArray>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <atomic>
#include <functional>
#include <thread>

namespace testing_support {

// Takes one connection and records what it receives; lives on the thread
// that made it.
struct LoopbackCluster {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;

    LoopbackCluster();
    int port() const { return server.serverPort(); }
    void Send(const QByteArray& bytes);
};

class ClusterFeed {
public:
    // `line(i)`: the i-th line sent (without its line end), from 0 on.
    explicit ClusterFeed(std::function<QString(long long)> line);
    ~ClusterFeed();
    ClusterFeed(const ClusterFeed&) = delete;
    ClusterFeed& operator=(const ClusterFeed&) = delete;

    int port() const { return port_; }
    bool connected() const { return connected_; }
    // Lines a second once a peer is connected; 0 sends none.
    void SetRate(int linesPerSecond) { rate_ = linesPerSecond; }
    long long sent() const { return sent_; }

private:
    void Run();

    std::function<QString(long long)> line_;
    std::atomic<int> port_{0};
    std::atomic<bool> connected_{false};
    std::atomic<int> rate_{0};
    std::atomic<long long> sent_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testing_support
