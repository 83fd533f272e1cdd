#include "FWViewClasses.h"

#include "EditText.h"
#include "PictureBox.h"
#include "PushButton.h"
#include "Scroller.h"
#include "StaticText.h"

#include <typeinfo>

namespace {

// One line per control class; a class's type information lives in its own source file.
const std::type_info* const kViewClasses[] = {
    &typeid(PushButton),
    &typeid(OKButton),
    &typeid(CancelButton),
    &typeid(Scroller),
    &typeid(StaticText),
    &typeid(PictureBox),
    &typeid(EditText),
};

} // namespace

size_t FWLinkedViewClassCount()
{
    return sizeof kViewClasses / sizeof kViewClasses[0];
}
