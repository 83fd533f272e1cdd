// Scope savers of a drawing context's state: each keeps a piece of state (optionally setting a
// new value) and puts it back when the block ends.
#pragma once

#include "FWArgb32.h"
#include "FWDrawContext.h"
#include "FWFont.h"
#include "FWPoint.h"
#include "FWRect.h"

class FWForeColorSaver {
public:
    explicit FWForeColorSaver(FWDrawContext& context) : mContext(context), mSaved(context.GetForeColor()) {}
    FWForeColorSaver(FWDrawContext& context, const FWArgb32& color)
        : mContext(context), mSaved(context.SetForeColor(color)) {}
    ~FWForeColorSaver() { mContext.SetForeColor(mSaved); }
    FWForeColorSaver(const FWForeColorSaver&) = delete;
    FWForeColorSaver& operator=(const FWForeColorSaver&) = delete;

private:
    FWDrawContext& mContext;
    FWArgb32 mSaved;
};

class FWBackColorSaver {
public:
    explicit FWBackColorSaver(FWDrawContext& context) : mContext(context), mSaved(context.GetBackColor()) {}
    FWBackColorSaver(FWDrawContext& context, const FWArgb32& color)
        : mContext(context), mSaved(context.SetBackColor(color)) {}
    ~FWBackColorSaver() { mContext.SetBackColor(mSaved); }
    FWBackColorSaver(const FWBackColorSaver&) = delete;
    FWBackColorSaver& operator=(const FWBackColorSaver&) = delete;

private:
    FWDrawContext& mContext;
    FWArgb32 mSaved;
};

// Keeps both colours; the second form sets the fore colour only, the third both.
class FWColorSaver {
public:
    explicit FWColorSaver(FWDrawContext& context)
        : mContext(context), mSavedFore(context.GetForeColor()), mSavedBack(context.GetBackColor()) {}
    FWColorSaver(FWDrawContext& context, const FWArgb32& fore)
        : mContext(context), mSavedFore(context.SetForeColor(fore)), mSavedBack(context.GetBackColor()) {}
    FWColorSaver(FWDrawContext& context, const FWArgb32& fore, const FWArgb32& back)
        : mContext(context), mSavedFore(context.SetForeColor(fore)), mSavedBack(context.SetBackColor(back)) {}
    ~FWColorSaver()
    {
        mContext.SetForeColor(mSavedFore);
        mContext.SetBackColor(mSavedBack);
    }
    FWColorSaver(const FWColorSaver&) = delete;
    FWColorSaver& operator=(const FWColorSaver&) = delete;

    const FWArgb32& GetSavedForeColor() const { return mSavedFore; }

private:
    FWDrawContext& mContext;
    FWArgb32 mSavedFore;
    FWArgb32 mSavedBack;
};

class FWPenSaver {
public:
    explicit FWPenSaver(FWDrawContext& context) : mContext(context), mSaved(context.GetPenMode()) {}
    ~FWPenSaver() { mContext.SetPenMode(mSaved); }
    FWPenSaver(const FWPenSaver&) = delete;
    FWPenSaver& operator=(const FWPenSaver&) = delete;

private:
    FWDrawContext& mContext;
    FWDrawContext::PenModeType mSaved;
};

class FWPenLocSaver {
public:
    explicit FWPenLocSaver(FWDrawContext& context) : mContext(context), mSaved(context.GetPen()) {}
    ~FWPenLocSaver() { mContext.MoveTo(mSaved.h, mSaved.v); }
    FWPenLocSaver(const FWPenLocSaver&) = delete;
    FWPenLocSaver& operator=(const FWPenLocSaver&) = delete;

private:
    FWDrawContext& mContext;
    FWPoint mSaved;
};

class FWFontSaver {
public:
    explicit FWFontSaver(FWDrawContext& context) : mContext(context), mSaved(context.GetFont()) {}
    ~FWFontSaver() { mContext.SetFont(&mSaved); }
    FWFontSaver(const FWFontSaver&) = delete;
    FWFontSaver& operator=(const FWFontSaver&) = delete;

    const FWFont& GetSavedFont() const { return mSaved; }

private:
    FWDrawContext& mContext;
    FWFont mSaved;
};

// Keeps the requested clip; the second form sets a new one (null: wide open).
class FWClipSaver {
public:
    explicit FWClipSaver(FWDrawContext& context);
    FWClipSaver(FWDrawContext& context, const FWRect* rect) : mContext(context), mSaved(context.SetClipRect(rect)) {}
    ~FWClipSaver() { mContext.SetClipRect(&mSaved); }
    FWClipSaver(const FWClipSaver&) = delete;
    FWClipSaver& operator=(const FWClipSaver&) = delete;

    const FWRect& GetSavedClipRect() const { return mSaved; }

private:
    FWDrawContext& mContext;
    FWRect mSaved;
};
