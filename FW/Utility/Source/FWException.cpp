// Reports of failures to the user: one message dialog per exception, with a beep.
#include "FWException.h"

#include "FWStr.h"
#include "FWUserMsg.h"

namespace {

// The text is cut at 255 characters and shown as it is.
void show(const FWString& text)
{
    FWUserMsg message("%s", text.GetCString());
    message.SetPlayBeep(true);
    message.Execute();
    message.SendMessage(Dependable::IsBeingDeleted);
}

void showCouldNot(const char* what, const char* action)
{
    FWStr<255> text("Could not ");
    text += action != nullptr ? action : "";
    text += " because ";
    text += what != nullptr ? what : "";
    text += ".";
    show(text);
}

} // namespace

void FWException::ReportException(FWException& e)
{
    if (e.mReported)
        return;
    FWStr<255> text("Sorry, ");
    const char* what = e.WhatFailed();
    text += what != nullptr ? what : "";
    text += ".";
    show(text);
    e.mReported = true;
}

void FWException::ReportException(FWException& e, const char* action)
{
    if (e.mReported)
        return;
    showCouldNot(e.WhatFailed(), action);
    e.mReported = true;
}

void FWException::ReportException(const char* what, const char* action)
{
    showCouldNot(what, action);
}
