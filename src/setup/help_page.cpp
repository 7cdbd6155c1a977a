#include "setup/help_page.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <exception>
#include <optional>

#include "platform/colors.h"
#include "platform/modal.h"
#include "platform/text_file.h"
#include "platform/twips.h"
#include "program/program.h"
#include "setup/resize.h"

namespace setup {

Form5::Form5(Program& program) : program_(program) {
    setWindowTitle(QStringLiteral("Help Page"));
    setAttribute(Qt::WA_QuitOnClose, false);
    SetDesignClientSize(7725, 6000);
    Text1 = AddMultiLineTextBox(QStringLiteral("Text1"), QString(), 240, 240, 7215, 4935);
    SetFont(Text1, {.Name = QStringLiteral("MS Sans Serif"), .Size = 9.75f, .Bold = true});
    platform::SetBackColor(Text1, QColor(224, 224, 224));
    Text1->setReadOnly(true);
    Command1 = AddCommandButton(QStringLiteral("Command1"), QStringLiteral("Close"), 3240, 5400, 1215, 375);
    SetFont(Command1, {.Name = QStringLiteral("Arial"), .Size = 8.25f, .Bold = true});
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
}

Form5::~Form5() = default;

void Form5::Form_Load() { Form_Load(platform::PrimaryScreenTwips()); }

void Form5::Form_Load(const platform::ScreenTwips& screen) {
    const QSizeF screenTwips = screen.size;
    // A failure ends the load without a message: the page opens with what
    // was done, an empty page when the file is missing.
    try {
        const double sx = screenTwips.width() / kDesignScreenWidth;
        const double sy = screenTwips.height() / kDesignScreenHeight;
        ResizeCentred(*this, screenTwips, static_cast<float>(std::min(sx, sy)));
        KeepInWorkArea(*this, screen.workArea);
        Text1->clear();
        const std::optional<QByteArray> text =
            platform::ReadWholeFile(program_.WorkPath(QStringLiteral("ReadOstrel.txt")));
        // The text as it stands; its line ends (CRLF or LF) break the lines.
        if (text) Text1->setPlainText(platform::DecodeAnsi(*text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } catch (const std::exception&) {
    }
}

void Form5::Command1_Click() { hide(); }

void ShowHelpPage(Program& program) {
    Form5& page = program.form5();
    page.Form_Load();
    platform::ShowModal(page);
    program.UnloadForm5();
}

}  // namespace setup
