#include "ConverterMessages.h"

#include "HostModalLoop.h"
#include "HostNavDialogs.h"
#include "HostNibs.h"
#include "MainNib.h"

ConverterMessages::ConverterMessages()
{
    HostResetModalLoops();
    HostNavClearPresetAnswers();
    HostResetNibs();
    RegisterMainNib();
}

ConverterMessages::~ConverterMessages()
{
    HostResetModalLoops();
    HostNavClearPresetAnswers();
    HostResetNibs();
}

void ConverterMessages::AnswerQuestions(const std::deque<bool>& answers)
{
    for (bool ok : answers)
        HostModalPresetAnswer(ok ? HostModalAnswer::kDefault : HostModalAnswer::kCancel);
}

std::vector<ShownMessage> ConverterMessages::Shown() const
{
    std::vector<ShownMessage> shown;
    for (const HostModalShown& window : HostModalShownLog())
        shown.push_back({window.title, window.texts.empty() ? std::string() : window.texts.front()});
    return shown;
}
