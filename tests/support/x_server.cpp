#include "support/x_server.h"

#include <chrono>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

bool XServer::Start(const QByteArray& display, const QByteArray& screen) {
    Stop();
    // Everything the child needs is made before the fork: a process with
    // threads may only make system calls between fork and exec.
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const QByteArray fd = QByteArray::number(fds[1]);
    std::vector<const char*> args{"Xvfb"};
    if (!display.isEmpty()) args.push_back(display.constData());
    for (const char* a : {"-screen", "0", screen.constData(), "-nolisten", "tcp", "-displayfd", fd.constData()})
        args.push_back(a);
    args.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid_ == 0) {
        // The server goes with its starter, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::close(fds[0]);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execvp("Xvfb", const_cast<char* const*>(args.data()));
        ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes its display number when it is ready, and closes the pipe
    // unwritten when it cannot start (the display is taken).
    QByteArray number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!number.endsWith('\n') && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        if (::read(fds[0], &c, 1) != 1) break;
        number += c;
    }
    ::close(fds[0]);
    if (!number.endsWith('\n')) {
        Stop();
        return false;
    }
    display_ = ":" + number.trimmed();
    return true;
}

bool XServer::StartOnFreeDisplay(const QByteArray& screen) {
    // Above the numbers a desktop or a person picks; a number another server
    // holds makes Xvfb give up at once, and the next one is tried.
    for (int number = 100; number < 400; ++number)
        if (Start(":" + QByteArray::number(number), screen)) return true;
    return false;
}

void XServer::Stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    display_.clear();
}

}  // namespace testing_support
