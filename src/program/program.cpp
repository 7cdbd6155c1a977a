#include "program/program.h"

#include <QDir>

#include "keyers/blind_frm.h"
#include "keyers/cw_frm.h"
#include "keyers/phone_frm.h"

Program::Program(const QString& workingFolder, Services services)
    : services_(std::move(services)) {
    folders.WorkingFolder = QDir(workingFolder).absolutePath();
    VersionText = QStringLiteral("Ostrel " OSTREL_VERSION);
}

Program::~Program() = default;

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

keyers::BlindFrm& Program::blindFrm() {
    return blindFrm_.Get([this] { return std::make_unique<keyers::BlindFrm>(*this); });
}
void Program::UnloadBlindFrm() { blindFrm_.Unload(); }

keyers::CWFrm& Program::cwFrm() {
    return cwFrm_.Get([this] { return std::make_unique<keyers::CWFrm>(*this); });
}
void Program::UnloadCWFrm() { cwFrm_.Unload(); }

keyers::PhoneFrm& Program::phoneFrm() {
    return phoneFrm_.Get([this] { return std::make_unique<keyers::PhoneFrm>(*this); });
}
void Program::UnloadPhoneFrm() { phoneFrm_.Unload(); }
