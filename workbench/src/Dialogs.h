#pragma once
// Every message box, confirmation, input box and file dialog of the workbench goes through
// this interface, owned by the main window. Tests install a scripted implementation that
// answers and records; no handler opens a dialog of its own.

#include <QString>

#include <optional>

class QWidget;

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A failure of an operation (an error message box).
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // A plain message with an OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // A question with the buttons Yes and No; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> InputBox(QWidget* parent, const QString& title, const QString& prompt,
                                            const QString& value) = 0;
    // The picture-file open dialog (OpenPictureDialog); nothing when cancelled.
    virtual std::optional<QString> OpenPicture(QWidget* parent) = 0;
};

// The production dialogs: Qt's message boxes, input dialog and file dialog.
class QtDialogs final : public Dialogs {
public:
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    std::optional<QString> InputBox(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& value) override;
    std::optional<QString> OpenPicture(QWidget* parent) override;
};
