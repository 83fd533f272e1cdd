// A small application built on the framework, for the run tests and the program they start: a
// command table (File: Ping, Quit; Tools: Mark), documents that show the first 'WINT' layout of
// the resource file they open, and a probe view class for those layouts. Every handler it owns
// notes what it received in the run log, so a test can check who saw what, in order.
#pragma once

#include "FWApp.h"
#include "FWDocument.h"
#include "FWView.h"
#include "FWWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace Corvel {
class FS_ResourceFileRA;
}

// The run log: one line per thing seen. Lines may also be echoed to standard output as they come
// (the separate program reports that way).
std::vector<std::string>& RunLog();
void RunLogAdd(const std::string& line);
void RunLogEcho(bool echo);

// Command ids and shortcuts of the application's table.
constexpr int32_t kRunPingID = 11;
constexpr int32_t kRunQuitID = 12;
constexpr int32_t kRunMarkID = 21;

// A view that paints itself in one colour and notes the clicks, keys and pauses it gets; it passes
// clicks and keys on. When the mouse rests on it, it shows a hover tip.
class RunProbe : public FWView {
public:
    static constexpr FWArgb32 kColor{255, 30, 90, 200};
    static const char* const kTipText;
    const char* FactoryGetClassName() const override { return "RunProbe"; }
    void Draw(FWDrawContext& context) const override;
    bool MouseDownEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;
    bool MousePaused() override;
};
// Registers the probe's factory (once).
void RegisterRunViewClasses();

// The window of a run document.
class RunWindow : public FWWindow {
public:
    RunWindow() : FWWindow(0) {}
    bool MouseDownEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;
};

// A document on a resource file: it opens the file and shows its first 'WINT' layout.
class RunDocument : public FWDocument {
public:
    RunDocument();
    ~RunDocument() override;
    void ReadDocument(const FileReference& file) override;
    bool MouseDownEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;
    RunWindow* Window() const { return mWindow; }

private:
    std::unique_ptr<Corvel::FS_ResourceFileRA> mFile;
    RunWindow* mWindow = nullptr;
};

class RunApp : public FWApp {
public:
    RunApp();
    void InitMenus() override;
    void DoFirstAction() override;
    FWDocument* NewDocument() override;
    void Suspend() override;
    void Resume() override;
    void GetPreferencesDirectory(FileReference&) const override {}
    bool MouseDownEvent(FWEvent& event) override;
    bool KeyDownEvent(FWEvent& event) override;

    // The window of the active document, or null.
    static RunWindow* DocumentWindow();
};

// Writes a resource file holding one 'WINT' layout (id 300): a 240 x 140 root with a probe at
// (40, 30, 140, 90) in it. False when any step fails.
bool MakeRunLayoutFile(const std::string& path);
