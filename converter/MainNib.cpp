#include "MainNib.h"

#include "HostMessageWindows.h"
#include "HostNibs.h"

namespace {

void registerMessageWindow(const char* name, std::vector<HostMessageButton> buttons)
{
    HostMessageWindowSpec spec;
    spec.title = name;
    spec.textID = 100;
    spec.buttons = std::move(buttons);
    HostRegisterNibWindow("main", name, [spec](WindowRef* outWindow) { return HostCreateMessageWindow(spec, outWindow); });
}

} // namespace

void RegisterMainNib()
{
    const HostMessageButton ok{"OK", kHICommandOK};
    const HostMessageButton cancel{"Cancel", kHICommandCancel};
    registerMessageWindow("Error", {ok});
    registerMessageWindow("Question", {ok, cancel});
    registerMessageWindow("Note", {ok});
    HostRegisterNibMenuBar("main", "MenuBar",
                           {{"File", {{"Open...", kHICommandOpen, 'O'}, {"-", 0, 0}, {"Quit", kHICommandQuit, 'Q'}}}});
}
