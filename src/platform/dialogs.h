#pragma once
// Modal boxes and pickers: message box, input box, file dialogs, colour picker
// and the beep. Windows call them through this service so that tests can
// script the operator's answers and read back every box that was shown.
#include <QColor>
#include <QString>
#include <optional>

namespace platform {

// Buttons and icon of a message box, combined with |, as the program's windows
// name them (VB numbering, so that the call sites read like the design).
enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

// The button the operator pressed.
enum MsgResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbYes = 6,
    vbNo = 7,
};

struct FileDialogRequest {
    QString title;
    QString initialDir;     // folder the dialog opens in
    QString fileName;       // proposed file name (may be a full path)
    QString filter;         // "Log Files (*.log) | *.log" style filter
    bool confirmOverwrite = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a message box; returns the button pressed.
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
    // Shows an input box; std::nullopt when the operator cancels.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // File dialogs: the chosen path, or std::nullopt when cancelled.
    virtual std::optional<QString> SaveFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> OpenFileName(const FileDialogRequest& request) = 0;
    // Colour picker starting from `initial`: the colour it holds when it closes,
    // std::nullopt when cancelled.
    virtual std::optional<QColor> PickColor(const QColor& initial) = 0;
    virtual void Beep() = 0;
};

// Real boxes on screen.
class QtDialogs final : public Dialogs {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    std::optional<QString> SaveFileName(const FileDialogRequest& request) override;
    std::optional<QString> OpenFileName(const FileDialogRequest& request) override;
    std::optional<QColor> PickColor(const QColor& initial) override;
    void Beep() override;
};

// Turns "Log Files (*.log) | *.log" into the "Log Files (*.log)" form Qt's
// dialogs take (description and pattern pairs separated by "|").
QString QtFilterFromPairs(const QString& filter);

}  // namespace platform
