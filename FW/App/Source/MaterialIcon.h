// A fixed 66 x 66 square that shows the rendered preview of a 3D material, or an empty square
// when it has none. The layout editor can move it but never resize it.
#pragma once

#include "FWArgb32.h"
#include "FWView.h"

class Material;

class MaterialIcon : public FWView {
public:
    MaterialIcon();

    // The square with its top-left corner at the point.
    virtual void Init(FWWindow* window, FWPoint topLeft);
    using FWView::Init;
    FWView* Duplicate(FWPoint offset) override;
    // Keeps the top-left corner; the size is always 66 x 66.
    void SetRect(const FWRect& rect) override;
    EditType FilterEditType(EditType) override { return kEditMove; }
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "MaterialIcon"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;
    bool MouseDownEvent(FWEvent& event) override;

    FWRect PreviewRect() const { return mPreviewRect; }
    FWArgb32 Color() const { return mColor; }
    // Not owned.
    Material* GetMaterial() const { return mMaterial; }
    void SetMaterial(Material* material) { mMaterial = material; }

private:
    static constexpr const char* kSourcePath = "FW/App/Source/MaterialIcon";

    FWArgb32 mColor{0, 0, 0, 0};
    FWRect mPreviewRect;
    Material* mMaterial = nullptr;
};
