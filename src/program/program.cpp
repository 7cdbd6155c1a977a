#include "program/program.h"

#include <QDir>

Program::Program(const QString& workingFolder, Services services)
    : services_(std::move(services)) {
    folders.WorkingFolder = QDir(workingFolder).absolutePath();
    VersionText = QStringLiteral(OSTREL_VERSION);
}

QString Program::WorkPath(const QString& fileName) const {
    return folders.WorkingFolder + "/" + fileName;
}

void Program::EndProgram() {
    ended_ = true;
    if (services_.endProgram) services_.endProgram();
}

void Program::ReportWriteFailure(const QString& systemText) {
    dialogs().MsgBox(systemText, platform::vbOKOnly | platform::vbCritical,
                     QStringLiteral("Unable to write file."));
}
