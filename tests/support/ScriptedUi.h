// A Ui that answers from a script prepared by the test and records what was asked.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "edit/Ui.h"

namespace kerbon::test {

class ScriptedUi : public Ui {
public:
    struct Shown {
        std::string text, title;
        MsgIcon icon;
        MsgButtons buttons;
    };
    std::deque<MsgResult> answers;                    // next message box answers
    std::deque<std::optional<std::string>> files;     // next file dialog answers
    std::vector<Shown> shown;                         // every message box shown
    std::vector<FileDialogOptions> dialogs;              // every file dialog shown
    std::deque<int> choices;                          // next choice box answers (-1: closed)
    std::vector<std::vector<std::string>> choiceButtons;  // buttons of every choice box shown
    // Input dialogs: the next answers (true OK; OK when none is left), what each text
    // dialog was shown with, and a text the next text dialogs put in as if typed.
    std::deque<bool> inputAnswers;
    std::vector<TextValues> textShown;
    std::optional<std::string> typeText;

    MsgResult messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override
    {
        shown.push_back({text, title, icon, buttons});
        if (answers.empty())
            return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
        MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    int choiceBox(const std::string& text, const std::string& title, MsgIcon icon,
                  const std::vector<std::string>& buttons) override
    {
        shown.push_back({text, title, icon, MsgButtons::Ok});
        choiceButtons.push_back(buttons);
        if (choices.empty())
            return -1;
        const int r = choices.front();
        choices.pop_front();
        return r;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions& opts) override
    {
        return nextFile(opts);
    }
    std::optional<std::string> saveFileDialog(const FileDialogOptions& opts) override
    {
        return nextFile(opts);
    }

    bool textDialog(TextValues& v, bool) override
    {
        textShown.push_back(v);
        if (typeText)
            v.text = *typeText;
        return nextInput();
    }
    // Texts opened for editing (the double click on a text), typeText put in as typed.
    std::vector<std::string> textEdits;
    bool textEditDialog(std::string& text) override
    {
        textEdits.push_back(text);
        if (typeText)
            text = *typeText;
        return nextInput();
    }
    bool arrayDialog(ArrayValues&) override { return nextInput(); }
    bool polygonDialog(PolygonValues&) override { return nextInput(); }
    bool rotationDialog(RotationValues&) override { return nextInput(); }
    bool scaleDialog(ScaleValues&) override { return nextInput(); }

private:
    bool nextInput()
    {
        if (inputAnswers.empty())
            return true;
        const bool ok = inputAnswers.front();
        inputAnswers.pop_front();
        return ok;
    }
    std::optional<std::string> nextFile(const FileDialogOptions& opts)
    {
        dialogs.push_back(opts);
        if (files.empty())
            return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
};

}  // namespace kerbon::test
