// The editor's three costs a user waits for, each beside a floor measured in the same run:
// - opening a file of 1,000 layouts until its list is drawn, against reading the file's bytes
//   (also at 4,000 layouts, to show the cost per layout does not grow, and so for the views);
// - opening a layout of 2,000 views until its window is drawn, against copying its bytes;
// - saving one layout of the 1,000-layout file, against copying the file.
#include "BenchFloor.h"
#include "CDialogWINT.h"
#include "CQF_Document.h"
#include "EditWindow.h"
#include "Env_InitCleanUpRA.h"
#include "FD_Package.h"
#include "FS_ResourceFileRA.h"
#include "FWDrawContext.h"
#include "FWDynamicString.h"
#include "FS_UtilPAC.h"
#include "FWStr.h"
#include "HostBackend.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"
#include "ListBox.h"
#include "QuillformApp.h"
#include "StaticText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kViews = 2000;
constexpr ResID kFirstID = 128;

// The bytes the view manager writes for a window whose root holds that many static texts.
std::string layoutOf(int views)
{
    FWWindow maker;
    maker.ViewMngr().Initialize(FWRect());
    FWView* root = maker.ViewMngr().GetViewTree();
    root->SetRect(FWRect(0, 0, 600, 400));
    const FWStr<255> text("Label");
    for (int i = 0; i < views; ++i) {
        auto* label = new StaticText;
        const int16_t left = int16_t(4 + (i % 20) * 29), top = int16_t(4 + (i / 20) * 4);
        label->Init(&maker, FWRect(left, top, int16_t(left + 28), int16_t(top + 12)), &text, StaticText::kSingleLine);
        label->SetID(i + 1);
        root->AppendChild(label);
    }
    Handle h = maker.ViewMngr().SerializeViewTree();
    std::string bytes(*h, size_t(GetHandleSize(h)));
    DisposeHandle(h);
    return bytes;
}

// A resource file of named layouts in a scratch folder.
class BenchFile {
public:
    BenchFile(int layouts, const std::string& data)
    {
        char folder[] = "/tmp/listbench.XXXXXX";
        mFolder = mkdtemp(folder);
        mPath = mFolder + "/layouts.rsrc";
        std::vector<std::vector<uint8_t>> names;
        names.resize(size_t(layouts));
        std::vector<HostResourceToWrite> resources;
        for (int i = 0; i < layouts; ++i) {
            const std::string name = "Layout " + std::to_string(i);
            names[size_t(i)].push_back(uint8_t(name.size()));
            names[size_t(i)].insert(names[size_t(i)].end(), name.begin(), name.end());
            resources.push_back({FOUR_CHAR_CODE("WINT"), ResID(kFirstID + i), 0, names[size_t(i)].data(),
                                 reinterpret_cast<const uint8_t*>(data.data()), uint32_t(data.size())});
        }
        std::vector<uint8_t> bytes;
        std::vector<HostResourceRecord> written;
        if (HostResourceFile::Build(resources, 0, nullptr, bytes, written) != noErr)
            std::abort();
        FILE* out = std::fopen(mPath.c_str(), "wb");
        if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
            std::abort();
        mSize = bytes.size();
    }
    ~BenchFile()
    {
        unlink((mPath + ".copy").c_str());
        unlink(mPath.c_str());
        rmdir(mFolder.c_str());
    }
    const std::string& Path() const { return mPath; }
    size_t Size() const { return mSize; }

private:
    std::string mFolder;
    std::string mPath;
    size_t mSize = 0;
};

// The back end is chosen before the file services start.
const bool sHeadless = (HostSelectBackend("headless"), true);

// The editor with its own resources (the list's layout) on the headless back end.
class Editor {
public:
    Editor()
    {
        HostOpenApplicationResourceFile(FW_APP_RSRC, &mResources);
        FWApp::Init();
        new QuillformApp;
    }
    ~Editor()
    {
        while (FWDocument* document = FWApp::Instance()->GetDocumentList().First()) {
            document->SendMessage(Dependable::IsBeingDeleted);
            delete document;
        }
        FWApp::Uninit();
        CloseResFile(mResources);
    }
    static CQF_Document* Open(const std::string& path)
    {
        auto* document = new CQF_Document;
        document->SetAssociatedFile(FileReference(path.c_str()));
        if (!document->ReadWINT())
            std::abort();
        return document;
    }
    static void Close(FWDocument* document)
    {
        document->SendMessage(Dependable::IsBeingDeleted);
        delete document;
    }

private:
    SInt16 mResources = 0;
    Corvel::Env_InitCleanUpRA<Corvel::FD_Package> mFileServices;
};

std::vector<uint8_t> readBytes(const std::string& path, size_t size)
{
    std::vector<uint8_t> bytes(size);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || read(fd, bytes.data(), size) != ssize_t(size))
        std::abort();
    close(fd);
    return bytes;
}

void BM_OpenFileUntilItsListIsDrawn(benchmark::State& state)
{
    Editor editor;
    const int layouts = int(state.range(0));
    const BenchFile file(layouts, layoutOf(0));
    const double floor = benchfloor::SecondsPerCall([&] { benchmark::DoNotOptimize(readBytes(file.Path(), file.Size())); });
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state) {
        CQF_Document* document = Editor::Open(file.Path());
        {
            CDialogWINT list(document);
            if (list.List()->ListSize() != layouts)
                std::abort();
            FWDrawContext context(&list);
            list.ViewMngr().Draw(context);
            list.SendMessage(Dependable::IsBeingDeleted);
        }
        Editor::Close(document);
    }
    const double perIteration = timer.Finish(state);
    benchfloor::ReportGrowth(state, "open list", perIteration / layouts, layouts == 1000);
}

void BM_OpenLayoutOf2000ViewsUntilDrawn(benchmark::State& state)
{
    Editor editor;
    const int views = int(state.range(0));
    const std::string layout = layoutOf(views);
    const BenchFile file(1, layout);
    std::vector<char> copy(layout.size());
    const double floor = benchfloor::SecondsPerCall([&] {
        std::memcpy(copy.data(), layout.data(), layout.size());
        benchmark::DoNotOptimize(copy.data());
    });
    CQF_Document* document = Editor::Open(file.Path());
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state) {
        auto* window = new EditWindow(document, kFirstID);
        EditWindow::mCreatedInstance = nullptr;
        {
            FWDrawContext context(window);
            window->ViewMngr().Draw(context);
        }
        window->SendMessage(Dependable::IsBeingDeleted);
        delete window;
    }
    const double perIteration = timer.Finish(state);
    benchfloor::ReportGrowth(state, "open layout", perIteration / views, views == kViews);
}

void BM_SaveOneLayoutOf1000(benchmark::State& state)
{
    Editor editor;
    const BenchFile file(1000, layoutOf(20));
    const std::string copyPath = file.Path() + ".copy";
    const double floor = benchfloor::SecondsPerCall([&] {
        const std::vector<uint8_t> bytes = readBytes(file.Path(), file.Size());
        FILE* out = std::fopen(copyPath.c_str(), "wb");
        if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
            std::abort();
    });
    CQF_Document* document = Editor::Open(file.Path());
    auto* window = new EditWindow(document, kFirstID + 500);
    EditWindow::mCreatedInstance = nullptr;
    benchfloor::RatioTimer timer(floor);
    for (auto _ : state) {
        window->SetDirty(true);
        if (!QuillformApp::Instance()->SaveEditWindow(*window))
            std::abort();
    }
    timer.Finish(state);
}

} // namespace

BENCHMARK(BM_OpenFileUntilItsListIsDrawn)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLayoutOf2000ViewsUntilDrawn)->Arg(kViews)->Arg(4 * kViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneLayoutOf1000)->Unit(benchmark::kMillisecond);
