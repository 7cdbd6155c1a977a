#pragma once
// What the submission and export writers share: the whole-or-nothing write of
// an output file, the failure report and the success box.
#include <QString>

class Program;

namespace scoring {

inline const QString kFileWrittenTitle = QStringLiteral("File Written Successfully.");

// Beeps and shows `error` (the system's text) under "Unable to write file.".
void ReportOutputFailure(Program& program, const QString& error);

// Writes `text` to `path` as plain ANSI text. The file is written to a
// temporary file beside it and renamed into place, so a failure leaves any
// earlier file at `path` as it was and no part of the new one; the failure is
// reported. True when the file was written.
bool WriteOutputFile(Program& program, const QString& path, const QString& text);

// The start of the success box's text: "The file was successfully written to
// the directory:", two line breaks, the path and ".".
QString FileWrittenText(const QString& path);

}  // namespace scoring
