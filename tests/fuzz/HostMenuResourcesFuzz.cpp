// Menu-bar and menu resources over arbitrary bytes: the first byte splits the rest between an
// 'MBAR' 128 and a 'MENU' 128. Reading, installing, laying out and matching shortcuts must stay
// inside the resources, whatever their counts and lengths say.
#include "HostMenus.h"
#include "HostMemory.h"
#include "HostResourceFile.h"
#include "HostResources.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint32_t split = std::min<uint32_t>(data[0], uint32_t(size - 1));
    const uint8_t* bar = data + 1;
    const uint8_t* menu = bar + split;
    const uint32_t menuLength = uint32_t(size - 1 - split);
    std::vector<HostResourceToWrite> resources = {
        {FOUR_CHAR_CODE("MBAR"), 128, 0, nullptr, bar, split},
        {FOUR_CHAR_CODE("MENU"), 128, 0, nullptr, menu, menuLength},
    };
    std::vector<uint8_t> file;
    std::vector<HostResourceRecord> written;
    if (HostResourceFile::Build(resources, 0, nullptr, file, written) != noErr)
        return 0;
    const SInt16 fileRef = HostOpenMemoryResFile(file.data(), file.size());
    if (fileRef == -1)
        return 0;
    if (MenuRef single = GetMenu(128))
        InsertMenu(single, hierMenu);
    if (Handle list = GetNewMBar(128)) {
        SetMenuBar(list);
        DisposeHandle(list);
    }
    for (const HostMenuTitleLayout& title : HostLayOutMenuBar()) {
        HostMenuPanelLayout panel = HostLayOutPullDown(title.menu, title.left);
        for (MenuItemIndex i = 1; i <= CountMenuItems(title.menu); ++i)
            if (MenuRef sub = GetMenuHandle(title.menu->Item(i)->submenuID))
                HostLayOutSubmenu(sub, panel, i);
    }
    for (uint8_t key : {uint8_t('a'), uint8_t('Q'), uint8_t(0x1B)})
        MenuKey(key);
    HostResetMenus();
    CloseResFile(fileRef);
    return 0;
}
