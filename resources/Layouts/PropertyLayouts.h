// The layouts of the controls' property dialogs, added to the program's resource file.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class FWView;
class FWWindow;

struct PropertyLayout {
    int16_t id;
    const char* name;
    int16_t width;
    int16_t height;
    std::function<void(FWWindow&, FWView&)> fill;
};

const std::vector<PropertyLayout>& PropertyLayouts();
