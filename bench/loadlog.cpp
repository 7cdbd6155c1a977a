// Loading an 11,000-contact log.txt against a plain read of the same file.
// Prints the median of each and "ratio loadlog/read <value>".
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "logstore/contact_log.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bench::BenchProgram b;
    b.WriteLog(logstore::kMaxContacts);
    const QString path = b.program().WorkPath("log.txt");

    const double read = bench::MedianMs(31, [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray bytes = f.readAll();
        bench::KeepAlive(bytes.size());
    });
    const double load = bench::MedianMs(31, [&] {
        b.program().LoadLog();
        bench::KeepAlive(b.program().log.QSOCount);
    });
    std::printf("read %.3f ms, LoadLog %.3f ms (%d contacts)\n", read, load,
                b.program().log.QSOCount);
    std::printf("ratio loadlog/read %.2f\n", load / read);
    return 0;
}
