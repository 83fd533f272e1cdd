#include "FWScreenFrame.h"

#include "FWScreenFramePAC.h"

FWScreenFrame::FWScreenFrame() : mPAC(new FWScreenFramePAC(FWRect()))
{
}

FWScreenFrame::FWScreenFrame(const FWWindow*) : FWScreenFrame()
{
}

FWScreenFrame::FWScreenFrame(const FWWindow*, const FWRect& bounds) : mPAC(new FWScreenFramePAC(bounds))
{
}

FWScreenFrame::~FWScreenFrame()
{
    delete mPAC;
}

void FWScreenFrame::Show()
{
    mPAC->Show();
}

void FWScreenFrame::Hide()
{
    mPAC->Hide();
}

void FWScreenFrame::SetBounds(const FWRect& bounds)
{
    mPAC->SetBounds(bounds);
}
