#pragma once
// "County Change": a rover or mobile station inside the party state gives
// the abbreviation of the county it now operates from. Done makes it the
// operating county, which every later contact carries as its county sent,
// and saves QSOpref.txt.
#include <QSizeF>

#include "platform/form.h"
#include "platform/twips.h"

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

namespace entry {

class frmCountyChange final : public platform::Form {
public:
    explicit frmCountyChange(Program& program);
    ~frmCountyChange() override;

    // Events.
    void Form_Load(const platform::ScreenTwips& screen);
    void Form_Load();
    void Form_Unload() {}
    void Text1_GotFocus();
    void Text1_KeyPress(int& KeyAscii);
    // The county check made when the operator leaves the box; true when
    // the box holds an abbreviation of the county table.
    bool Text1_LostFocus();
    void Command1_Click();  // "Done"

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Program& program_;
};

// Loads the county change dialog, shows it modally and unloads it when Done
// (or its close box) has hidden it: the in-state window's "Cha&nge County".
void ShowCountyChange(Program& program);

}  // namespace entry
