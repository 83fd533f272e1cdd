// The base of every failure that carries a fixed English text. The text is borrowed (a string
// literal in practice), never copied. An exception is reported to the user at most once.
#pragma once

class FWException {
public:
    explicit FWException(const char* message) : mMessage(message) {}
    virtual ~FWException() = default;

    // The fixed text of the failure, e.g. "The disk is full".
    virtual const char* WhatFailed() const { return mMessage; }
    // Whether the failure has been shown to the user already.
    bool WasReported() const { return mReported; }

    // Shows the failure to the user once: "Sorry, <what>." or, with the action,
    // "Could not <action> because <what>."; a reported exception shows nothing.
    static void ReportException(FWException& e);
    static void ReportException(FWException& e, const char* action);
    // Always shows "Could not <action> because <what>.".
    static void ReportException(const char* what, const char* action);

private:
    const char* mMessage;
    bool mReported = false;
};
