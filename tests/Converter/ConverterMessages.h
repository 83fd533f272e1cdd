// What the converter's message windows showed during a test, and the answers its questions get.
#pragma once

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

    // Answers for the coming questions, in order: true is OK. Unanswered questions get OK.
    void AnswerQuestions(std::deque<bool> answers);
    std::vector<ShownMessage> Shown() const;
};
