#include "support/fake_dialogs.h"

namespace testing_support {

int FakeDialogs::MsgBox(const QString& text, int style, const QString& title) {
    shown.push_back({ShownBox::Message, title, text, style, {}, {}});
    if (onMessage) onMessage(shown.back());
    if (!msgAnswers.empty()) {
        int a = msgAnswers.front();
        msgAnswers.pop_front();
        return a;
    }
    switch (style & 0x7) {
    case platform::vbYesNo: return platform::vbNo;
    case platform::vbYesNoCancel:
    case platform::vbOKCancel: return platform::vbCancel;
    default: return platform::vbOK;
    }
}

std::optional<QString> FakeDialogs::InputBox(const QString& prompt, const QString& title,
                                             const QString& defaultText) {
    shown.push_back({ShownBox::Input, title, prompt, 0, defaultText, {}});
    if (inputAnswers.empty()) return std::nullopt;
    auto a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

std::optional<QString> FakeDialogs::SaveFileName(const platform::FileDialogRequest& request) {
    shown.push_back({ShownBox::SaveFile, request.title, {}, 0, {}, request});
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<QString> FakeDialogs::OpenFileName(const platform::FileDialogRequest& request) {
    shown.push_back({ShownBox::OpenFile, request.title, {}, 0, {}, request});
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<QColor> FakeDialogs::PickColor(const QColor& initial) {
    shown.push_back({ShownBox::Color, {}, initial.name(), 0, {}, {}});
    if (colorAnswers.empty()) return std::nullopt;
    auto a = colorAnswers.front();
    colorAnswers.pop_front();
    return a;
}

std::vector<QString> FakeDialogs::titles() const {
    std::vector<QString> out;
    for (const auto& s : shown) out.push_back(s.title);
    return out;
}

}  // namespace testing_support
