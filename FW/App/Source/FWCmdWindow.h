// The one window meant to show status messages in a message log. Tools report through
// StatusMessage, which does nothing while no command window exists.
#pragma once

#include "FWStr.h"
#include "FWWindow.h"

#include <cstdint>

class FWCmdView;

class FWCmdWindow : public FWWindow {
public:
    FWCmdWindow();
    ~FWCmdWindow() override;

    // The command window, or null when there is none.
    static FWCmdWindow* Instance() { return sInstance; }
    FWCmdView* View() const { return mView; }
    void SetView(FWCmdView* view) { mView = view; }

    // Adds a message when the previous status message was final, else replaces it.
    static void StatusMessage(bool final, int32_t icon, const char* text, const char* detail, const char* input);
    static void EnableStatusMessages(bool enable) { sEnabled = enable; }
    static bool StatusMessagesEnabled() { return sEnabled; }
    const FWString& LastInput() const { return mLastInput; }

private:
    FWCmdView* mView = nullptr;
    bool mLastFinal = true;
    FWStr<255> mLastInput;

    static FWCmdWindow* sInstance;
    static bool sEnabled;
};
