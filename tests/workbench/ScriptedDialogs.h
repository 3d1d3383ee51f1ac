#pragma once
// Dialogs for window tests: every message is recorded, every question is answered from a
// script given by the test (an unscripted question fails the test loudly).

#include "Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <stdexcept>

class ScriptedDialogs final : public Dialogs {
public:
    // Everything shown, in order, as "error: text", "message: text", "confirm: text",
    // "input: title / prompt", "picture".
    QStringList shown;
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> pictureAnswers;

    QStringList errors() const { return shown.filter(QStringLiteral("error: ")); }

    void ShowError(QWidget*, const QString& text) override { shown << QStringLiteral("error: ") + text; }
    void ShowMessage(QWidget*, const QString& text) override { shown << QStringLiteral("message: ") + text; }
    bool Confirm(QWidget*, const QString& text) override
    {
        shown << QStringLiteral("confirm: ") + text;
        return take(confirmAnswers, "confirmation");
    }
    std::optional<QString> InputBox(QWidget*, const QString& title, const QString& prompt, const QString&) override
    {
        shown << QStringLiteral("input: ") + title + QStringLiteral(" / ") + prompt;
        return take(inputAnswers, "input box");
    }
    std::optional<QString> OpenPicture(QWidget*) override
    {
        shown << QStringLiteral("picture");
        return take(pictureAnswers, "picture dialog");
    }

private:
    template <class T>
    static T take(std::deque<T>& answers, const char* what)
    {
        if (answers.empty()) throw std::logic_error(std::string("unscripted ") + what);
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
