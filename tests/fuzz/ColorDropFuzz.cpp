// Drops arbitrary bytes as the 'ARGB' flavour on a colour button: only exactly four bytes may
// change its colour; nothing may crash or read past the bytes.
#include "ColorButton.h"
#include "ControlTestWindow.h"
#include "FWDragData.h"
#include "ProgrammerMessageRecorder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class BytesScrap : public FWDragScrap {
public:
    BytesScrap(const uint8_t* data, size_t size) : mBytes(reinterpret_cast<const char*>(data), size) {}
    uint32_t Type() const override { return FOUR_CHAR_CODE("ARGB"); }
    void RetrieveData(const void*& data, int& size) const override
    {
        data = mBytes.empty() ? nullptr : mBytes.data();
        size = int(mBytes.size());
    }

private:
    std::string mBytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    ControlTestWindow w;
    auto* button = new ColorButton;
    const FWArgb32 before(255, 1, 2, 3);
    button->Init(&w.Window(), FWRect(10, 10, 40, 40), before);
    w.Add(button);
    FWDragData drag;
    drag.AddScrap(new BytesScrap(data, size));
    const FWPoint inside(20, 20);
    button->Enter(inside, drag);
    button->Within(inside, drag);
    button->Accept(drag);
    button->Exit(inside, drag);
    const FWArgb32 expected = size == 4 ? FWArgb32(data[0], data[1], data[2], data[3]) : before;
    if (button->GetColor() != expected)
        __builtin_trap();
    return 0;
}
