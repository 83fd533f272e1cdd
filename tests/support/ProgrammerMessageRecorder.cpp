#include "ProgrammerMessageRecorder.h"

namespace {
ProgrammerMessageRecorder* sActive = nullptr;
std::vector<RecordedProgrammerMessage>* sSink = nullptr;
} // namespace

ProgrammerMessageRecorder::ProgrammerMessageRecorder()
    : mOuter(sActive), mPrevious(FWSetProgrammerMessagePresenter(&ProgrammerMessageRecorder::Record))
{
    sActive = this;
    sSink = &mMessages;
}

ProgrammerMessageRecorder::~ProgrammerMessageRecorder()
{
    FWSetProgrammerMessagePresenter(mPrevious);
    sActive = mOuter;
    sSink = mOuter != nullptr ? &mOuter->mMessages : nullptr;
}

std::vector<std::string> ProgrammerMessageRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& m : mMessages)
        texts.push_back(m.message);
    return texts;
}

bool ProgrammerMessageRecorder::Record(const FWProgrammerMessageInfo& info)
{
    if (sSink != nullptr)
        sSink->push_back({info.message, info.sourcePath, info.line, info.offersAbort});
    return false; // continue, as after "Switch to Debugger"
}

bool TrapOnAssertionAlert(const FWProgrammerMessageInfo& info)
{
    if (info.offersAbort)
        __builtin_trap();
    return false;
}
