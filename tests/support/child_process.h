#pragma once
// Programs that a test runs in a process of its own: the test binary started
// again with "--child=NAME" runs the child registered under NAME instead of
// the tests, and exits with its code. A test needs this where a library keeps
// process-wide state that must start fresh, such as the sound server
// connection of Qt Multimedia, which is made once per process.
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

namespace testing_support {

// A child's body: it gets the arguments after "--child=NAME", reports on
// standard output, and returns the process's exit code.
using ChildMain = int (*)(const QStringList& arguments);

// Registers a child; used at static initialisation:
//   const bool registered = RegisterChild("play-prompt", &PlayPrompt);
bool RegisterChild(const char* name, ChildMain body);

// For the test program's main: runs the child that the arguments name, if
// they name one.
std::optional<int> RunChildFromArguments(const QStringList& arguments);

struct ChildResult {
    bool finished = false;  // false: did not start, crashed or timed out
    int exitCode = -1;
    QByteArray output;      // standard output and standard error together
};

// Runs the child `name` with `arguments` in `environment` (the test's own
// with changes) and waits up to `timeoutMs` for it, killing it after that.
ChildResult RunChild(const QString& name, const QStringList& arguments,
                     const QProcessEnvironment& environment, int timeoutMs);

}  // namespace testing_support
