#include "support/child_process.h"

#include <QCoreApplication>
#include <QProcess>
#include <map>
#include <string>

namespace testing_support {

namespace {

const QString kChildOption = QStringLiteral("--child=");

std::map<std::string, ChildMain>& children() {
    static std::map<std::string, ChildMain> registered;
    return registered;
}

}  // namespace

bool RegisterChild(const char* name, ChildMain body) {
    return children().emplace(name, body).second;
}

std::optional<int> RunChildFromArguments(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(kChildOption)) continue;
        const std::string name = arguments[i].mid(kChildOption.size()).toStdString();
        const auto found = children().find(name);
        if (found == children().end()) return 2;
        return found->second(arguments.mid(i + 1));
    }
    return std::nullopt;
}

ChildResult RunChild(const QString& name, const QStringList& arguments,
                     const QProcessEnvironment& environment, int timeoutMs) {
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), QStringList{kChildOption + name} + arguments);
    ChildResult result;
    if (!child.waitForStarted(timeoutMs)) return result;
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished(5000);
        result.output = child.readAll();
        return result;
    }
    result.output = child.readAll();
    result.finished = child.exitStatus() == QProcess::NormalExit;
    result.exitCode = child.exitCode();
    return result;
}

}  // namespace testing_support
