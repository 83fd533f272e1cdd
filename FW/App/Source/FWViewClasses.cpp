#include "FWViewClasses.h"

#include "CheckBox.h"
#include "ColorButton.h"
#include "ColorSlider.h"
#include "Divider.h"
#include "EditText.h"
#include "FWCmdView.h"
#include "FWOutlineView.h"
#include "Group.h"
#include "ListBox.h"
#include "MaterialIcon.h"
#include "PictureBox.h"
#include "Popup.h"
#include "PushButton.h"
#include "QZ_GLView.h"
#include "RadioButtonSet.h"
#include "Scroller.h"
#include "Slider.h"
#include "StaticText.h"
#include "TabControl.h"

#include <typeinfo>

namespace {

// One line per control class; a class's type information lives in its own source file. The
// table is kept in the object file even where nothing reads its entries (an optimizer would
// otherwise drop it, and with it the references that link those files).
[[gnu::used]] const std::type_info* const kViewClasses[] = {
    &typeid(PushButton),
    &typeid(OKButton),
    &typeid(CancelButton),
    &typeid(Scroller),
    &typeid(StaticText),
    &typeid(PictureBox),
    &typeid(EditText),
    &typeid(FWCmdView),
    &typeid(MaterialIcon),
    &typeid(QZ_GLView),
    &typeid(Group),
    &typeid(Popup),
    &typeid(CheckBox),
    &typeid(RadioButtonSet),
    &typeid(Slider),
    &typeid(ColorSlider),
    &typeid(TabControl),
    &typeid(Divider),
    &typeid(FWOutlineView),
    &typeid(ListBox),
    &typeid(ColorButton),
};

} // namespace

size_t FWLinkedViewClassCount()
{
    return sizeof kViewClasses / sizeof kViewClasses[0];
}
