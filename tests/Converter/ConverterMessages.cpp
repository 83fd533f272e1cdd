// Records the converter's messages in place of its message windows.
#include "ConverterMessages.h"

#include "CarbonAlerts.h"

namespace {

std::vector<ShownMessage> sShown;
std::deque<bool> sAnswers;

} // namespace

ConverterMessages::ConverterMessages()
{
    sShown.clear();
    sAnswers.clear();
}

ConverterMessages::~ConverterMessages()
{
    sShown.clear();
    sAnswers.clear();
}

void ConverterMessages::AnswerQuestions(std::deque<bool> answers)
{
    sAnswers = std::move(answers);
}

std::vector<ShownMessage> ConverterMessages::Shown() const
{
    return sShown;
}

void ShowErr(const PascalString& text, const char* windowName)
{
    sShown.push_back({windowName, text.CStr()});
}

bool ShowQuestion(const PascalString& text, const char* windowName)
{
    sShown.push_back({windowName, text.CStr()});
    if (sAnswers.empty())
        return true;
    bool answer = sAnswers.front();
    sAnswers.pop_front();
    return answer;
}

void ShowNote(const PascalString& text, const char* windowName)
{
    sShown.push_back({windowName, text.CStr()});
}
