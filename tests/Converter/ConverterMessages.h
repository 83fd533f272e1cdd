// What the converter's message windows showed during a test, and the answers its questions get.
// The windows are the real ones, run on the headless desktop.
#pragma once

#include "HostDesktopScope.h"

#include <deque>
#include <string>
#include <vector>

struct ShownMessage {
    std::string window; // "Error", "Question" or "Note"
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

class ConverterMessages {
public:
    ConverterMessages();
    ~ConverterMessages();
    ConverterMessages(const ConverterMessages&) = delete;
    ConverterMessages& operator=(const ConverterMessages&) = delete;

    // Answers for the coming questions, in order: true is OK. Unanswered questions get OK, the
    // default button.
    void AnswerQuestions(const std::deque<bool>& answers);
    std::vector<ShownMessage> Shown() const;

private:
    HostDesktopScope mDesktop;
};
