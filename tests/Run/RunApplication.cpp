#include "RunApplication.h"

#include "FS_ResourceFileRA.h"
#include "FS_UtilPAC.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWException.h"
#include "FWMenuMgr.h"
#include "FWOpMenu.h"
#include "FWPopupInfo.h"
#include "FWStr.h"
#include "FileReference.h"
#include "HostMemory.h"
#include "HostResources.h"
#include "SubClassFactory.h"

#include "../Files/ResourceFileMaker.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

constexpr ResType kWINT = FOUR_CHAR_CODE("WINT");
constexpr uint32_t kCmd = 0x100;

bool sEcho = false;

std::string keyText(const FWEvent& event)
{
    std::string text = "key ";
    if (event.mModifiers & kCmd)
        text += "cmd-";
    text += char(event.EventCharacter());
    return text;
}

void ping(FWUserOp*)
{
    RunLogAdd("command Ping");
}

void mark(FWUserOp*)
{
    RunLogAdd("command Mark");
}

void enable(FWUserOp* op)
{
    op->ClearFlag(kUserOpDisabled);
}

const FWOpData kFile[] = {
    {"Ping", kRunPingID, 0, 0, 0, enable, ping, nullptr, 'P', kCmd, nullptr, 0},
    {"Quit", kRunQuitID, 0, 0, 0, FWApp::AdjustFileQuit, FWApp::FileQuit, nullptr, 'Q', kCmd, nullptr, 0},
};
const FWOpData kTools[] = {
    {"Mark", kRunMarkID, 0, 0, 0, enable, mark, nullptr, 0, 0, nullptr, 0},
};
const FWOpData kMenus[] = {
    {"File", 1, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kFile, 2},
    {"Tools", 2, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0, kTools, 1},
};
const FWOpData kRoot = {"Menu Root", 0, kUserOpHasChildren, 0, 0, nullptr, nullptr, nullptr, 0, 0, kMenus, 2};

} // namespace

std::vector<std::string>& RunLog()
{
    static std::vector<std::string> sLog;
    return sLog;
}

void RunLogAdd(const std::string& line)
{
    RunLog().push_back(line);
    if (sEcho) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

void RunLogEcho(bool echo)
{
    sEcho = echo;
}

// ---- the probe

const char* const RunProbe::kTipText = "A probe";

void RunProbe::Draw(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.PaintRect(&rect, kColor);
}

bool RunProbe::MouseDownEvent(FWEvent& event)
{
    RunLogAdd(event.mMessage != 0 ? "probe double click" : "probe mouse down");
    return false;
}

bool RunProbe::KeyDownEvent(FWEvent& event)
{
    RunLogAdd("probe " + keyText(event));
    return false;
}

bool RunProbe::MousePaused()
{
    RunLogAdd("probe paused");
    FWPopupInfo::Show(FWStr<31>(kTipText));
    return true;
}

void RegisterRunViewClasses()
{
    static SubClassFactory<FWView, RunProbe> sProbe("RunProbe");
}

// ---- the window and the document

bool RunWindow::MouseDownEvent(FWEvent&)
{
    RunLogAdd("window mouse down");
    return false;
}

bool RunWindow::KeyDownEvent(FWEvent& event)
{
    RunLogAdd("window " + keyText(event));
    return false;
}

RunDocument::RunDocument() = default;

RunDocument::~RunDocument() = default;

void RunDocument::ReadDocument(const FileReference& file)
{
    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(file.PathName(), locator);
    mFile = std::make_unique<Corvel::FS_ResourceFileRA>(locator, false);
    if (mFile->OpenedResourceFile() == 0)
        throw FWException("the file is not a resource file");
    Handle layout = Get1IndResource(kWINT, 1);
    if (layout == nullptr)
        throw FWException("the file holds no layout");
    SInt16 id = 0;
    ResType type = 0;
    GetResInfo(layout, &id, &type, nullptr);

    auto* window = new RunWindow;
    if (!window->Initialize(this, int32_t(id))) {
        delete window;
        throw FWException("the layout could not be read");
    }
    mWindow = window;
    FWStr<255> name;
    file.GetFileName(name);
    window->SetName(&name, false);
    window->Show();
    RunLogAdd("opened " + std::string(name.GetCString()));
    FWPoint probe(90, 60);
    window->WindowToGlobal(&probe);
    RunLogAdd("probe at " + std::to_string(probe.h) + " " + std::to_string(probe.v));
}

bool RunDocument::MouseDownEvent(FWEvent&)
{
    RunLogAdd("document mouse down");
    return false;
}

bool RunDocument::KeyDownEvent(FWEvent& event)
{
    RunLogAdd("document " + keyText(event));
    return false;
}

// ---- the application

RunApp::RunApp()
{
    RegisterRunViewClasses();
}

void RunApp::InitMenus()
{
    FWMenuMgr::Instance()->SetRootMenu(new FWOpMenu(kRoot));
}

void RunApp::DoFirstAction()
{
    RunLogAdd("open application");
}

FWDocument* RunApp::NewDocument()
{
    return new RunDocument;
}

void RunApp::Suspend()
{
    RunLogAdd("suspend");
}

void RunApp::Resume()
{
    RunLogAdd("resume");
}

bool RunApp::MouseDownEvent(FWEvent&)
{
    RunLogAdd("application mouse down");
    return true;
}

bool RunApp::KeyDownEvent(FWEvent& event)
{
    RunLogAdd("application " + keyText(event));
    return FWApp::KeyDownEvent(event);
}

RunWindow* RunApp::DocumentWindow()
{
    auto* document = dynamic_cast<RunDocument*>(Instance()->GetActiveDocument());
    return document != nullptr ? document->Window() : nullptr;
}

// ---- the layout file

bool MakeRunLayoutFile(const std::string& path)
{
    RegisterRunViewClasses();
    FWWindow maker;
    maker.SetSize(246, 168);
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, 240, 140));
    auto* probe = new RunProbe;
    probe->Init(&maker);
    probe->SetRect(FWRect(40, 30, 140, 90));
    probe->SetVisibility(true);
    root->AppendChild(probe);
    Handle h = maker.ViewMngr().SerializeViewTree();
    if (h == nullptr)
        return false;
    std::string bytes(*h, *h + GetHandleSize(h));
    DisposeHandle(h);
    return MakeResourceFile(path, {{kWINT, 300, "Probe", bytes}});
}

// The program's own closes of X connections (not SDL's): one while SDL's video is down is the
// display probe's, given up before SDL held a connection of its own, as the run test checks.
extern "C" int XCloseDisplay(void* display)
{
    static const auto wasInit = reinterpret_cast<uint32_t (*)(uint32_t)>(dlsym(RTLD_DEFAULT, "SDL_WasInit"));
    if (wasInit != nullptr && (wasInit(0x20) & 0x20) == 0) // SDL_INIT_VIDEO
        std::printf("display connection closed before SDL held its own\n");
    std::fflush(stdout);
    return reinterpret_cast<int (*)(void*)>(dlsym(RTLD_NEXT, "XCloseDisplay"))(display);
}
