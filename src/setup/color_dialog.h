#pragma once
// " Modify Multiplier Color Selections": the two colours in which the main
// windows show multipliers, worked and still to work, each with a button
// that opens the colour picker and a sample written in it. The colours
// change at once; the Colors command saves and repaints after Done.
#include <QSizeF>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QLabel;
class QPushButton;

namespace setup {

class Form6 final : public platform::Form {
public:
    explicit Form6(Program& program);
    ~Form6() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Load();
    void Form_Unload() {}
    void Command1_Click();  // "Remaining" colour
    void Command3_Click();  // "Worked" colour
    void Command6_Click();  // "Done"

    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label2 = nullptr;  // sample of the remaining colour
    QLabel* Label1 = nullptr;  // sample of the worked colour
    QPushButton* Command6 = nullptr;
    platform::LineControl* Line2 = nullptr;
    platform::LineControl* Line1 = nullptr;

private:
    // Picks a new value for `color`, starting at the colour in use; a
    // cancelled picker keeps it.
    void pick(std::int32_t& color, QLabel* sample);

    Program& program_;
};

// Loads the colour dialog, shows it modally and unloads it when Done (or its
// close box) has hidden it: the main windows' "&Colors".
void ShowColorDialog(Program& program);

}  // namespace setup
