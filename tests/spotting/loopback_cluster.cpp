#include "spotting/loopback_cluster.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>

namespace testing_support {

LoopbackCluster::LoopbackCluster() {
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [this] { received += peer->readAll(); });
    });
}

void LoopbackCluster::Send(const QByteArray& bytes) {
    peer->write(bytes);
    peer->flush();
}

ClusterFeed::ClusterFeed(std::function<QString(long long)> line) : line_(std::move(line)) {
    thread_ = std::thread([this] { Run(); });
    while (port_ == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ClusterFeed::~ClusterFeed() {
    stop_ = true;
    thread_.join();
}

void ClusterFeed::Run() {
    using clock = std::chrono::steady_clock;
    // The loop first: it gives this thread the event dispatcher that the
    // server's sockets register with.
    QEventLoop loop;
    LoopbackCluster cluster;
    // Each tick sends what the rate owes since the last change of rate, so
    // a late tick catches up and the rate holds over the run.
    clock::time_point since = clock::now();
    long long owedBefore = 0;
    int rateSince = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (stop_) {
            loop.quit();
            return;
        }
        connected_ = cluster.peer != nullptr && cluster.peer->state() == QAbstractSocket::ConnectedState;
        const int rate = rate_;
        if (rate != rateSince) {
            since = clock::now();
            owedBefore = sent_;
            rateSince = rate;
        }
        if (!connected_ || rate <= 0) return;
        const double seconds = std::chrono::duration<double>(clock::now() - since).count();
        const long long owed = owedBefore + static_cast<long long>(seconds * rate);
        QByteArray bytes;
        for (; sent_ < owed; ++sent_) bytes += line_(sent_).toLatin1() + "\r\n";
        if (!bytes.isEmpty()) cluster.Send(bytes);
    });
    tick.start(5);
    port_ = cluster.port();
    loop.exec();
}

}  // namespace testing_support
