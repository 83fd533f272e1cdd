#include "ControlTestWindow.h"

#include "FWDrawContext.h"
#include "FWView.h"
#include "HostEvents.h"
#include "FactoryHandler.h"
#include "FWStr.h"
#include "HostHeadless.h"
#include "HostScreen.h"
#include "SerialStream.h"

#include <cstring>

ControlTestWindow::ControlTestWindow() : mWindow(new FWWindow(0))
{
    mWindow->Initialize(nullptr, FWRect(100, 100, 406, 328));
    mWindow->Show();
}

ControlTestWindow::~ControlTestWindow()
{
    mWindow->SendMessage(Dependable::IsBeingDeleted);
    delete mWindow;
}

void ControlTestWindow::Add(FWView* view)
{
    mWindow->ViewMngr().GetViewTree()->AppendChild(view);
}

FWView* ControlTestWindow::AddPlain(int32_t id, const FWRect& rect)
{
    auto* view = new FWView;
    view->Init(mWindow);
    view->SetID(id);
    view->SetRect(rect);
    Add(view);
    return view;
}

int32_t ControlTestWindow::TextWidth(const char* text)
{
    return mWindow->Font().GetStringWidth(text, int32_t(std::strlen(text)));
}

void UpdateWindowAsDispatcher(FWWindow& window)
{
    BeginUpdate(window.GetPDW());
    {
        FWDrawContext context(&window);
        window.DrawWindowFrame(context);
        FWEvent event;
        window.UpdateEvent(event, context);
    }
    EndUpdate(window.GetPDW());
    HostComposeScreen();
}

FWPoint ControlTestWindow::ToGlobal(FWWindow& window, FWPoint local)
{
    window.WindowToGlobal(&local);
    return local;
}

void ControlTestWindow::Update()
{
    BeginUpdate(mWindow->GetPDW());
    {
        FWDrawContext context(mWindow);
        FWEvent event;
        mWindow->UpdateEvent(event, context);
    }
    EndUpdate(mWindow->GetPDW());
    HostComposeScreen();
}

uint32_t ControlTestWindow::ScreenRgb(FWPoint local)
{
    const FWPoint global = ToGlobal(*mWindow, local);
    HostComposeScreen();
    return HostScreenPixel(Point{global.v, global.h}) & 0xFFFFFFu;
}

FWEvent ControlTestWindow::Click(FWPoint at, std::initializer_list<FWPoint> moves)
{
    auto point = [this](FWPoint local) {
        const FWPoint global = ToGlobal(*mWindow, local);
        return Point{global.v, global.h};
    };
    HostInjectMouseDown(point(at));
    FWPoint last = at;
    for (FWPoint move : moves) {
        HostInjectMouseMove(point(move));
        last = move;
    }
    HostInjectMouseUp(point(last));
    EventRecord record;
    for (int i = 0; i < 16; ++i)
        if (WaitNextEvent(everyEvent, &record, 0, nullptr) && record.what == mouseDown)
            break;
    FWEvent event(kMouseDownEvent, mWindow, 0);
    event.mWhere = at;
    event.mGlobalWhere = ToGlobal(*mWindow, at);
    return event;
}

bool InterfaceLog::InterfaceAction(FWView*, const ActionType& action)
{
    mEntries.push_back("action " + std::to_string(action.mAction));
    return true;
}

bool InterfaceLog::InterfaceEvent(FWView*)
{
    mEntries.push_back("event");
    return true;
}

namespace {

std::vector<uint8_t> bytesOf(SerialStream& stream)
{
    const auto* p = reinterpret_cast<const uint8_t*>(stream.Buffer());
    return std::vector<uint8_t>(p, p + stream.Size());
}

} // namespace

std::vector<uint8_t> StoredRecord(FWView& view)
{
    SerialStream stream(nullptr, 0, SerialStream::kWriting);
    view.OldWrite(stream);
    return bytesOf(stream);
}

std::vector<uint8_t> StoredViewLevel(FWView& view)
{
    SerialStream stream(nullptr, 0, SerialStream::kWriting);
    view.FWView::OldWrite(stream);
    return bytesOf(stream);
}

FWView* ReadStoredRecord(const char* className, const std::vector<uint8_t>& bytes)
{
    ObjectFactory<FWView>* factory = FactoryHandler<FWView>::FindFactory(FWStr<255>(className));
    if (factory == nullptr)
        return nullptr;
    FWView* view = factory->CreateInstance();
    SerialStream stream(reinterpret_cast<const char*>(bytes.data()), uint32_t(bytes.size()), SerialStream::kReading);
    view->OldRead(stream);
    return view;
}
