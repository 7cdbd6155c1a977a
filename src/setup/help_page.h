#pragma once
// "Help Page": the shipped help text ReadOstrel.txt of the working folder,
// shown as it stands in one scrolling box, read afresh at every opening.
#include <QSizeF>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QPlainTextEdit;
class QPushButton;

namespace setup {

class Form5 final : public platform::Form {
public:
    explicit Form5(Program& program);
    ~Form5() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Load();
    void Form_Unload() {}
    void Command1_Click();  // "Close"

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    Program& program_;
};

// Loads the help page, shows it modally and unloads it when it closes: the
// main windows' "&Help".
void ShowHelpPage(Program& program);

}  // namespace setup
