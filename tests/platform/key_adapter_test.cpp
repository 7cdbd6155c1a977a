// The key model driven with real key events on real widgets: a window with
// three text boxes, as an entry line has them.
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/key_adapter.h"
#include "setup/key_filters.h"

namespace {

using platform::KeyAdapter;
using platform::KeyHandlers;

class EntryWindow {
public:
    EntryWindow() {
        window->setGeometry(100, 100, 400, 60);
        for (QLineEdit* box : {txtCall, txtCntry, txtSec}) box->resize(100, 24);
        txtCntry->move(120, 0);
        txtSec->move(240, 0);
    }

    // Shows the window, makes it the active one and gives `box` the focus:
    // without an active window the offscreen platform moves no focus.
    bool Open(QLineEdit* box) {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) return false;
        box->setFocus(Qt::OtherFocusReason);
        return QApplication::focusWidget() == box;
    }

    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit* txtCall = new QLineEdit(window.get());
    QLineEdit* txtCntry = new QLineEdit(window.get());
    QLineEdit* txtSec = new QLineEdit(window.get());
    KeyAdapter* adapter = new KeyAdapter(window.get());
};

class KeyAdapterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.Open(form.txtCall)); }

    EntryWindow form;
    std::vector<std::string> calls;  // the handler calls, in order

    void Record(const std::string& who, int code) { calls.push_back(who + " " + std::to_string(code)); }
    void Record(const std::string& who, int code, int shift) {
        calls.push_back(who + " " + std::to_string(code) + "/" + std::to_string(shift));
    }
    // Handlers that record every call and leave the key alone.
    KeyHandlers Recorder(const std::string& who) {
        return {.keyDown = [this, who](int& c, int& s) { Record(who + " down", c, s); },
                .keyPress = [this, who](int& a) { Record(who + " press", a); },
                .keyUp = [this, who](int& c, int& s) { Record(who + " up", c, s); }};
    }
};

// --- What a KeyPress handler leaves is what the box gets ---------------------

struct TypingCase {
    const char* name;
    std::function<void(int&)> keyPress;
    QString start;  // text already in the box, caret at its end
    const char* typed;
    QString shown;
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class TypingTest : public KeyAdapterTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(TypingTest, BoxShowsWhatTheHandlerLeft) {
    const TypingCase& c = GetParam();
    form.txtCall->setText(c.start);
    form.adapter->Attach(form.txtCall, {.keyPress = c.keyPress});
    QSignalSpy changes(form.txtCall, &QLineEdit::textChanged);

    QTest::keyClicks(form.txtCall, c.typed);

    EXPECT_EQ(form.txtCall->text(), c.shown);
    // One change per character that reached the box: nothing delivered twice.
    int reached = 0;
    for (const char ch : std::string(c.typed)) {
        int code = ch;
        c.keyPress(code);
        reached += code != 0;
    }
    EXPECT_EQ(changes.count(), reached);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, TypingTest,
    testing::Values(
        TypingCase{"Cap", setup::Cap, "", "w9abc", "W9ABC"},
        TypingCase{"CapKeepsSlashAndCapitals", setup::Cap, "", "k9/Xp", "K9/XP"},
        TypingCase{"NumOnly", setup::NumOnly, "", "5a9- 7", "597"},
        TypingCase{"PassEverything", [](int&) {}, "", "ab c", "ab c"},
        TypingCase{"CancelEverything", [](int& k) { k = 0; }, "keep", "xyz", "keep"},
        TypingCase{"HyphenBecomesBackspace", [](int& k) { if (k == '-') k = 8; }, "ABC", "-d",
                   "ABd"},
        TypingCase{"SpaceBecomesSlash", [](int& k) { if (k == ' ') k = '/'; }, "", "W9 P",
                   "W9/P"}),
    [](const testing::TestParamInfo<TypingCase>& caseInfo) { return caseInfo.param.name; });

TEST_F(KeyAdapterTest, ChangedCharacterReplacesSelectionAndBackspaceDeletes) {
    form.adapter->Attach(form.txtCall, {.keyPress = setup::Cap});
    form.txtCall->setText("ABCD");
    form.txtCall->setSelection(1, 2);

    QTest::keyClick(form.txtCall, 'x');
    EXPECT_EQ(form.txtCall->text(), "AXD");
    EXPECT_EQ(form.txtCall->cursorPosition(), 2);

    QTest::keyClick(form.txtCall, Qt::Key_Backspace);
    EXPECT_EQ(form.txtCall->text(), "AD");
}

TEST_F(KeyAdapterTest, EnterAndEscReachKeyPressAndTypeNothing) {
    std::vector<int> seen;
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) { seen.push_back(k); }});
    form.txtCall->setText("W9");
    QSignalSpy returns(form.txtCall, &QLineEdit::returnPressed);

    QTest::keyClick(form.txtCall, Qt::Key_Return);
    QTest::keyClick(form.txtCall, Qt::Key_Escape);
    QTest::keyClick(form.txtCall, Qt::Key_Backspace);

    EXPECT_EQ(seen, (std::vector<int>{13, 27, 8}));
    EXPECT_EQ(form.txtCall->text(), "W");
    EXPECT_EQ(returns.count(), 1);
}

TEST_F(KeyAdapterTest, HandlerSeesTheBoxAsItWasBeforeTheKey) {
    std::vector<QString> before;
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int&) {
                                            before.push_back(form.txtCall->text());
                                        }});
    QTest::keyClicks(form.txtCall, "ab");
    EXPECT_EQ(before, (std::vector<QString>{"", "a"}));
}

// --- The window's preview ----------------------------------------------------

TEST_F(KeyAdapterTest, PreviewThatCancelsTheDoubleQuoteKeepsItFromBoxAndHandler) {
    std::vector<int> controlSaw;
    form.adapter->SetKeyPreview({.keyPress = [](int& k) { if (k == '"') k = 0; }});
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) {
                                            controlSaw.push_back(k);
                                            setup::Cap(k);
                                        }});

    QTest::keyClicks(form.txtCall, "w\"9\"");

    EXPECT_EQ(form.txtCall->text(), "W9");
    EXPECT_EQ(controlSaw, (std::vector<int>{'w', '9'}));
}

TEST_F(KeyAdapterTest, PreviewCoversControlsWithoutHandlersOfTheirOwn) {
    form.adapter->SetKeyPreview({.keyPress = setup::Cap});
    ASSERT_TRUE(form.Open(form.txtSec));
    QTest::keyClicks(form.txtSec, "ab");
    EXPECT_EQ(form.txtSec->text(), "AB");
}

TEST_F(KeyAdapterTest, PreviewChangeIsWhatTheControlSees) {
    int controlSaw = -1;
    form.adapter->SetKeyPreview({.keyPress = setup::Cap});
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) { controlSaw = k; }});
    QTest::keyClick(form.txtCall, 'q');
    EXPECT_EQ(controlSaw, 'Q');
    EXPECT_EQ(form.txtCall->text(), "Q");
}

// --- Order of the handlers ----------------------------------------------------

TEST_F(KeyAdapterTest, FormBeforeControlAndDownBeforePressBeforeUp) {
    form.adapter->SetKeyPreview(Recorder("form"));
    form.adapter->Attach(form.txtCall, Recorder("call"));

    // Through the window, as the keyboard delivers keys: to the focused box.
    QTest::keyClick(form.window->windowHandle(), Qt::Key_A, Qt::NoModifier);

    EXPECT_EQ(calls, (std::vector<std::string>{"form down 65/0", "call down 65/0", "form press 97",
                                               "call press 97", "form up 65/0", "call up 65/0"}));
    EXPECT_EQ(form.txtCall->text(), "a");
}

TEST_F(KeyAdapterTest, ShiftStateCountsTheModifierKeyWhileItIsDown) {
    form.adapter->Attach(form.txtCall, Recorder("call"));

    QTest::keyClick(form.txtCall, 'K', Qt::ShiftModifier);

    EXPECT_EQ(calls, (std::vector<std::string>{"call down 16/1", "call down 75/1", "call press 75",
                                               "call up 75/1", "call up 16/0"}));
}

TEST_F(KeyAdapterTest, KeysWithoutCharacterRunKeyDownAndKeyUpOnly) {
    form.adapter->Attach(form.txtCall, Recorder("call"));

    QTest::keyClick(form.txtCall, Qt::Key_F10);
    QTest::keyClick(form.txtCall, Qt::Key_Delete);
    QTest::keyClick(form.txtCall, Qt::Key_A, Qt::AltModifier);

    EXPECT_EQ(calls, (std::vector<std::string>{"call down 121/0", "call up 121/0",
                                               "call down 46/0", "call up 46/0", "call down 18/4",
                                               "call down 65/4", "call up 65/4", "call up 18/0"}));
    // Alt with a letter is a menu key: it types nothing.
    EXPECT_EQ(form.txtCall->text(), "");
}

TEST_F(KeyAdapterTest, CtrlLetterTypesItsControlCharacter) {
    form.adapter->Attach(form.txtCall, Recorder("call"));
    form.txtCall->setText("W9XYZ");

    QTest::keyClick(form.txtCall, Qt::Key_A, Qt::ControlModifier);

    EXPECT_EQ(calls, (std::vector<std::string>{"call down 17/2", "call down 65/2", "call press 1",
                                               "call up 65/2", "call up 17/0"}));
    // Left alone, the control character does what it does in the box.
    EXPECT_EQ(form.txtCall->selectedText(), "W9XYZ");
}

TEST_F(KeyAdapterTest, PreviewThatSwallowsTheKeyDownSkipsTheControlsKeyDownOnly) {
    form.adapter->SetKeyPreview({.keyDown = [this](int& c, int& s) {
                                     Record("form down", c, s);
                                     c = 0;
                                 },
                                 .keyPress = [this](int& a) { Record("form press", a); }});
    form.adapter->Attach(form.txtCall, Recorder("call"));

    QTest::keyClick(form.txtCall, 'b');

    // As on Windows, the character of a swallowed key-down is still typed.
    EXPECT_EQ(calls, (std::vector<std::string>{"form down 66/0", "form press 98", "call press 98",
                                               "call up 66/0"}));
    EXPECT_EQ(form.txtCall->text(), "b");
}

TEST_F(KeyAdapterTest, KeyDownMayHandOnAnotherCode) {
    form.adapter->SetKeyPreview({.keyDown = [](int& c, int&) { if (c == 121) c = 124; }});
    form.adapter->Attach(form.txtCall, Recorder("call"));
    QTest::keyClick(form.txtCall, Qt::Key_F10);
    EXPECT_EQ(calls.front(), "call down 124/0");
}

struct SwallowCase {
    const char* name;
    Qt::Key key;
    bool swallow;
    int caret;  // where the caret stands afterwards; it starts at 2 in "ABCD"
};

void PrintTo(const SwallowCase& c, std::ostream* os) { *os << c.name; }

class SwallowTest : public KeyAdapterTest, public testing::WithParamInterface<SwallowCase> {};

TEST_P(SwallowTest, KeyDownSetToZeroStopsTheBoxsOwnHandling) {
    const SwallowCase& c = GetParam();
    form.adapter->Attach(form.txtCall, {.keyDown = [&](int& code, int&) {
                                            if (c.swallow) code = 0;
                                        }});
    form.txtCall->setText("ABCD");
    form.txtCall->setCursorPosition(2);

    QTest::keyClick(form.txtCall, c.key);

    EXPECT_EQ(form.txtCall->cursorPosition(), c.caret);
    EXPECT_EQ(form.txtCall->text(), c.key == Qt::Key_Delete && !c.swallow ? "ABD" : "ABCD");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SwallowTest,
    testing::Values(SwallowCase{"LeftSwallowed", Qt::Key_Left, true, 2},
                    SwallowCase{"LeftPassed", Qt::Key_Left, false, 1},
                    SwallowCase{"RightSwallowed", Qt::Key_Right, true, 2},
                    SwallowCase{"RightPassed", Qt::Key_Right, false, 3},
                    SwallowCase{"HomeSwallowed", Qt::Key_Home, true, 2},
                    SwallowCase{"HomePassed", Qt::Key_Home, false, 0},
                    SwallowCase{"DeleteSwallowed", Qt::Key_Delete, true, 2},
                    SwallowCase{"DeletePassed", Qt::Key_Delete, false, 2}),
    [](const testing::TestParamInfo<SwallowCase>& caseInfo) { return caseInfo.param.name; });

// --- Tab -------------------------------------------------------------------

TEST_F(KeyAdapterTest, SendTabActsOnlyAfterTheHandlerReturns) {
    QWidget* focusInHandler = nullptr;
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) {
                                            if (k != ' ') return;
                                            k = 0;
                                            KeyAdapter::SendTab();
                                            focusInHandler = QApplication::focusWidget();
                                        }});

    QTest::keyClick(form.txtCall, ' ');
    EXPECT_EQ(focusInHandler, form.txtCall);
    EXPECT_EQ(QApplication::focusWidget(), form.txtCall);

    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), form.txtCntry);
    EXPECT_EQ(form.txtCall->text(), "");
    EXPECT_EQ(form.txtCntry->text(), "");
}

TEST_F(KeyAdapterTest, SentTabFromTheLastBoxWrapsToTheFirst) {
    form.adapter->Attach(form.txtSec, {.keyPress = [](int& k) {
                                           if (k == ' ') {
                                               k = 0;
                                               KeyAdapter::SendTab();
                                           }
                                       }});
    ASSERT_TRUE(form.Open(form.txtSec));
    QTest::keyClick(form.txtSec, ' ');
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), form.txtCall);
}

TEST_F(KeyAdapterTest, TabMovesTheFocusUnseenByHandlersThatDoNotTakeIt) {
    form.adapter->SetKeyPreview(Recorder("form"));
    form.adapter->Attach(form.txtCall, Recorder("call"));
    form.adapter->Attach(form.txtCntry, Recorder("cntry"));

    QTest::keyClick(form.txtCall, Qt::Key_Tab);

    EXPECT_EQ(QApplication::focusWidget(), form.txtCntry);
    EXPECT_TRUE(calls.empty());
}

TEST_F(KeyAdapterTest, ControlThatTakesTabGetsItAndKeepsTheFocus) {
    form.adapter->SetKeyPreview({.keyPress = [this](int& a) { Record("form press", a); }});
    KeyHandlers handlers = Recorder("call");
    handlers.takesTab = true;
    form.adapter->Attach(form.txtCall, handlers);

    QTest::keyClick(form.txtCall, Qt::Key_Tab);

    EXPECT_EQ(QApplication::focusWidget(), form.txtCall);
    EXPECT_EQ(calls, (std::vector<std::string>{"call down 9/0", "form press 9", "call press 9",
                                               "call up 9/0"}));
    EXPECT_EQ(form.txtCall->text(), "");
}

// --- Handlers that change the window ---------------------------------------

TEST_F(KeyAdapterTest, CharacterGoesToTheBoxTheKeyWasPressedIn) {
    // Space moves on by itself and lets the key through: the blank is typed
    // where the key went down, as on Windows.
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) {
                                            if (k == ' ') form.txtCntry->setFocus();
                                        }});
    form.txtCall->setText("W9");
    QTest::keyClick(form.window->windowHandle(), Qt::Key_Space, Qt::NoModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.txtCntry);
    EXPECT_EQ(form.txtCall->text(), "W9 ");
    EXPECT_EQ(form.txtCntry->text(), "");
}

TEST_F(KeyAdapterTest, HandlerMayCloseTheWindow) {
    form.adapter->Attach(form.txtCall, {.keyPress = [&](int& k) {
                                            if (k == 13) form.window.reset();
                                        }});
    QTest::keyClick(form.txtCall, Qt::Key_Return);
    EXPECT_EQ(form.window, nullptr);
}

TEST_F(KeyAdapterTest, TextSetFromCodeStillSignalsChange) {
    form.adapter->Attach(form.txtCall, {.keyPress = setup::Cap});
    QSignalSpy changes(form.txtCall, &QLineEdit::textChanged);
    form.txtCall->setText("K9ABC");
    form.txtCall->clear();
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(KeyAdapterTest, DetachedControlTypesUnfiltered) {
    form.adapter->Attach(form.txtCall, {.keyPress = setup::Cap});
    QTest::keyClicks(form.txtCall, "a");
    form.adapter->Detach(form.txtCall);
    QTest::keyClicks(form.txtCall, "a");
    EXPECT_EQ(form.txtCall->text(), "Aa");
}

TEST_F(KeyAdapterTest, KeysOfAWidgetInsideTheControlAreTheControls) {
    auto* group = new QWidget(form.window.get());
    group->setGeometry(0, 30, 200, 24);
    auto* inner = new QLineEdit(group);
    group->show();
    form.adapter->Attach(group, {.keyPress = setup::Cap});
    ASSERT_TRUE(form.Open(inner));

    QTest::keyClicks(inner, "ab");
    EXPECT_EQ(inner->text(), "AB");
}

// --- Key codes ---------------------------------------------------------------

struct CodeCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int code;
};

TEST(VirtualKeyCode, UsesTheWindowsNumbering) {
    const CodeCase cases[] = {
        {Qt::Key_A, Qt::NoModifier, 65},           {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_0, Qt::NoModifier, 48},           {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_F1, Qt::NoModifier, 112},         {Qt::Key_F12, Qt::NoModifier, 123},
        {Qt::Key_Left, Qt::NoModifier, 37},        {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Right, Qt::NoModifier, 39},       {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_Return, Qt::NoModifier, 13},      {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 27},      {Qt::Key_Tab, Qt::NoModifier, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},   {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_Delete, Qt::NoModifier, 46},      {Qt::Key_Home, Qt::NoModifier, 36},
        {Qt::Key_End, Qt::NoModifier, 35},         {Qt::Key_PageUp, Qt::NoModifier, 33},
        {Qt::Key_PageDown, Qt::NoModifier, 34},    {Qt::Key_Space, Qt::NoModifier, 32},
        {Qt::Key_Shift, Qt::NoModifier, 16},       {Qt::Key_Control, Qt::NoModifier, 17},
        {Qt::Key_Alt, Qt::NoModifier, 18},         {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 48}, {Qt::Key_Apostrophe, Qt::NoModifier, 222},
        {Qt::Key_QuoteDbl, Qt::ShiftModifier, 222}, {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_Slash, Qt::NoModifier, 191},      {Qt::Key_7, Qt::KeypadModifier, 103},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},  {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Asterisk, Qt::ShiftModifier, 56}, {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(platform::VirtualKeyCode(c.key, c.modifiers), c.code)
            << QKeySequence(c.key).toString().toStdString();
}

}  // namespace
