#include "SourceOutput.h"

#include "CheckBox.h"
#include "EditText.h"
#include "EditWindow.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "HostReplacementFile.h"
#include "Popup.h"
#include "PreorderTraversal.h"
#include "QuillformApp.h"
#include "RadioButtonSet.h"

#include <vector>

namespace {

const char* const kFileName = "Output.c";
const std::string kRule(72, '-');

std::string text(const FWString& s)
{
    return s.GetCString();
}

// The member declaration of a view with an auto-value name; empty for an edit text whose value
// type has no member class.
std::string declaration(FWView* view)
{
    const std::string name = text(view->AutoValueString());
    if (dynamic_cast<CheckBox*>(view) != nullptr)
        return "CheckBox::Bool\t\t" + name + ";\n";
    if (dynamic_cast<Popup*>(view) != nullptr)
        return "PopupEnum\t\t\t" + name + ";\n";
    if (dynamic_cast<RadioButtonSet*>(view) != nullptr)
        return "RadioButtonEnum\t\t" + name + ";\n";
    if (auto* edit = dynamic_cast<EditText*>(view)) {
        switch (edit->FilterType()) {
        case FWString::kUnsignedInteger:
        case FWString::kSignedInteger:
            return "EditText::Long\t\t" + name + ";\n";
        case FWString::kUnsignedReal:
        case FWString::kSignedReal:
            return "EditText::Float\t\t" + name + ";\n";
        default:
            return {};
        }
    }
    return "\tUnknownType::AutoValue\t\tmMemberVariable;\n";
}

} // namespace

namespace SourceOutput {

std::string Text(FWView* root)
{
    std::vector<FWView*> named, identified;
    PreorderTraversal<FWView> walk(root, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view->UseAutoValue())
            named.push_back(view);
        if (view->GetStringID().GetCurrLength() != 0)
            identified.push_back(view);
    }

    std::string out;
    if (!named.empty())
        out += "// Member variable declarations\n";
    for (FWView* view : named)
        out += declaration(view);
    out += "\n";

    if (!identified.empty()) {
        out += "enum {\n";
        for (size_t i = 0; i < identified.size(); ++i) {
            out += "\t" + text(identified[i]->GetStringID()) + " = " + std::to_string(identified[i]->ID());
            out += i + 1 < identified.size() ? ",\n" : "\n";
        }
        out += "};\n";
    }

    if (!named.empty()) {
        out += "\n/* " + kRule + "\n";
        out += "\tUpdateInterface\n";
        out += kRule + " */\n";
        out += "void YourClass::UpdateInterface(FWWindow* window)\n";
        out += "{\n";
        for (FWView* view : named)
            out += "\t" + text(view->AutoValueString()) + ".Connect(window, " + text(view->GetStringID()) + ");\n";
        out += "}\t// UpdateInterface\n";
    }
    return out;
}

std::string Path()
{
    Corvel::FS_Locator locator;
    Corvel::FS_LocatorRegistry::LookUpLocator(-2, locator);
    locator.AppendName(kFileName);
    FWDynamicString path;
    Corvel::FS_UtilPAC::LocatorToPathName(locator, path, false);
    return path.GetCString();
}

bool WriteFile(const std::string& path, const std::string& text)
{
    HostReplacementFile replacement(path);
    return replacement.Open(0666) == noErr && replacement.Write(text.data(), text.size()) == noErr &&
           replacement.Commit() == noErr;
}

} // namespace SourceOutput

void QuillformApp::write_source_file(FWUserOp*)
{
    EditWindow* window = Instance()->GetFrontEditWindow();
    if (window == nullptr)
        return;
    // No message either way; a failed write leaves an earlier file whole.
    SourceOutput::WriteFile(SourceOutput::Path(), SourceOutput::Text(window->ViewMngr().GetViewTree()));
}
