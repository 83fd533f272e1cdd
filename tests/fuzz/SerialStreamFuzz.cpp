// Reads arbitrary bytes as a stored list of test views: header, entries by class name and
// references resolved through the serial table. Whatever is read must write and read back
// the same. No byte may reach an assertion alert.
#include "FWException.h"
#include "ProgrammerMessageRecorder.h"
#include "SerialTestView.h"
#include "SubClassFactory.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

SubClassFactory<SerialTestView, SerialTestView> sViewFactory("SerialTestView");
SubClassFactory<SerialTestView, SerialTestLabel> sLabelFactory("SerialTestLabel");

size_t indexOf(const SerialTestDocument::Result& result, const SerialTestView* view)
{
    for (size_t i = 0; i < result.views.size(); ++i)
        if (result.views[i].get() == view)
            return i;
    return size_t(-1);
}

void checkRoundTrip(const SerialTestDocument::Result& first)
{
    std::vector<const SerialTestView*> views;
    for (const auto& view : first.views)
        views.push_back(view.get());
    SerialTestDocument::Result second =
        SerialTestDocument::Read(SerialTestDocument::Write(views, first.counter));
    if (second.views.size() != first.views.size() || second.skipped != 0)
        __builtin_trap();
    for (size_t i = 0; i < first.views.size(); ++i) {
        const SerialTestView& a = *first.views[i];
        const SerialTestView& b = *second.views[i];
        if (a.mValue != b.mValue || indexOf(first, a.mPartner) != indexOf(second, b.mPartner))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    std::vector<char> bytes(data, data + size);
    SerialTestDocument::Result result;
    try {
        result = SerialTestDocument::Read(bytes);
    } catch (const FWException&) {
        return 0;
    }
    // A partner that resolved is one of the views read, or null.
    for (const auto& view : result.views)
        if (view->mPartner != nullptr && indexOf(result, view->mPartner) == size_t(-1))
            __builtin_trap();
    checkRoundTrip(result);
    return 0;
}
