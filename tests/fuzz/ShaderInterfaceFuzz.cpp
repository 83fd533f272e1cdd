// Reads arbitrary bytes as a shader interface record list and as the multi-thread flag. A read
// never holds more records than the input has room for, and what it read writes back to the bytes
// it read, which read and write again to the very same bytes.
#include "CDataPTKC.h"
#include "ProgrammerMessageRecorder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

bool rebuild(const std::vector<CItemPTKC>& records, const char tag[4], int32_t header, std::vector<uint8_t>& bytes)
{
    std::vector<const CItemPTKC*> items;
    for (const CItemPTKC& record : records)
        items.push_back(&record);
    return CDataPTKC::BuildPTKC(tag, header, items, bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    if (size > 0x100000)
        return 0;
    char tag[4] = {};
    int32_t header = 0;
    int32_t count = -1;
    std::vector<CItemPTKC> records;
    if (CDataPTKC::ParsePTKC(data, size, tag, header, count, records)) {
        check(count >= 0 && size_t(count) == records.size());
        check(12 + records.size() * 52 <= size);
        std::vector<uint8_t> first;
        check(rebuild(records, tag, header, first));
        check(first.size() == 12 + records.size() * 52);
        check(std::equal(first.begin(), first.end(), data)); // records read and unchanged keep their bytes
        char tag2[4];
        int32_t header2 = 0;
        int32_t count2 = 0;
        std::vector<CItemPTKC> again;
        check(CDataPTKC::ParsePTKC(first.data(), first.size(), tag2, header2, count2, again));
        std::vector<uint8_t> second;
        check(rebuild(again, tag2, header2, second));
        check(first == second);
    } else {
        check(records.empty() || 12 + records.size() * 52 <= size); // the records before a damage
    }
    const bool on = CDataPTKC::ParseQZMP(data, size);
    check(on == (size == 4 && data[0] == 0 && data[1] == 0 && data[2] == 0 && data[3] == 0));
    return 0;
}
