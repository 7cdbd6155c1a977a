#include "scoring/output_file.h"

#include "platform/text_file.h"
#include "program/program.h"

namespace scoring {

void ReportOutputFailure(Program& program, const QString& error) {
    program.dialogs().Beep();
    program.ReportWriteFailure(error);
}

bool WriteOutputFile(Program& program, const QString& path, const QString& text) {
    QString error;
    if (!platform::WriteFileAtomically(path, platform::EncodeAnsi(text), &error)) {
        ReportOutputFailure(program, error);
        return false;
    }
    return true;
}

QString FileWrittenText(const QString& path) {
    return QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + path +
           QStringLiteral(".");
}

}  // namespace scoring
