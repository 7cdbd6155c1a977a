#pragma once
// Scripted boxes: every box shown is recorded, and answers come from a queue.
// A box shown with no answer queued takes its default (OK, No, Cancel) and is
// still recorded, so a test sees boxes it did not expect.
#include <QColor>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/dialogs.h"

namespace testing_support {

struct ShownBox {
    enum Kind { Message, Input, SaveFile, OpenFile, Color } kind;
    QString title;
    QString text;         // message or prompt
    int style = 0;        // message box style
    QString defaultText;  // input box default
    platform::FileDialogRequest file;  // file dialogs
};

class FakeDialogs final : public platform::Dialogs {
public:
    std::vector<ShownBox> shown;
    int beeps = 0;
    // Runs as each message box is shown, before it is answered: a test looks
    // at the screen as the operator sees it under the box.
    std::function<void(const ShownBox&)> onMessage;

    // Answers, consumed in order per kind.
    std::deque<int> msgAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;

    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> SaveFileName(const platform::FileDialogRequest& request) override;
    std::optional<QString> OpenFileName(const platform::FileDialogRequest& request) override;
    std::optional<QColor> PickColor(const QColor& initial) override;
    void Beep() override { ++beeps; }

    // The titles of all boxes shown, in order.
    std::vector<QString> titles() const;
};

}  // namespace testing_support
