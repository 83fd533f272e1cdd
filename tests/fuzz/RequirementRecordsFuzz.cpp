// Start-up checks over arbitrary requirement resources: the first byte picks the resource type
// ('GstV', 'GstA' or both), the rest is the resource's content. A failed check must end in an
// alert, never in a read outside the resource; damage is named in a notice, never an assertion
// alert.
#include "Env_PackagePAC.h"
#include "ProgrammerMessageRecorder.h"
#include "HostAlerts.h"
#include "HostBundles.h"
#include "HostEnvironment.h"
#include "HostGestalt.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct Stopped {};

SInt16 stopInsteadOfExit(SInt16, HostAlertKind)
{
    throw Stopped{};
}

void* findNothing(const char*, const char*)
{
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool sInstalled = [] {
        HostSetAlertPresenter(stopInsteadOfExit);
        FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
        HostSetSystemFunctionFinder(findNothing);
        HostSetGestaltAnswer(FOUR_CHAR_CODE("attr"), 0x0F0F0F0F);
        return true;
    }();
    (void)sInstalled;
    if (size == 0)
        return 0;

    const uint8_t choice = data[0] % 3;
    const uint8_t* content = data + 1;
    const uint32_t length = uint32_t(size - 1);
    std::vector<HostResourceToWrite> resources;
    if (choice != 1)
        resources.push_back({FOUR_CHAR_CODE("GstV"), 128, 0, nullptr, content, length});
    if (choice != 0)
        resources.push_back({FOUR_CHAR_CODE("GstA"), 128, 0, nullptr, content, length});
    std::vector<uint8_t> file;
    std::vector<HostResourceRecord> written;
    if (HostResourceFile::Build(resources, 0, nullptr, file, written) != noErr)
        return 0;
    const SInt16 fileRef = HostOpenMemoryResFile(file.data(), file.size());
    if (fileRef == -1)
        return 0;
    try {
        Corvel::Env_PackagePAC::Init();
    } catch (const Stopped&) {
    }
    Corvel::Env_PackagePAC::CleanUp();
    CloseResFile(fileRef);
    return 0;
}
