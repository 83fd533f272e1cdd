#include "SerialTestView.h"

#include "FWStoredDataNotice.h"
#include "FactoryHandler.h"

void SerialTestView::OldWrite(Stream& s) const
{
    s.BeginClassWrite("SerialTestView", 1);
    s.RegisterStreamable(this);
    s.WriteLong(GetSerialID());
    s.WriteReference(mPartner);
    s.WriteLong(mValue);
}

void SerialTestView::OldRead(Stream& s)
{
    if (s.BeginClassRead("SerialTestView") != 1) {
        FWStoredDataNotice::Report("Unknown 'SerialTestView' version", "tests/support/SerialTestView", 1);
        return;
    }
    mSerialID = s.ReadLong();
    s.RegisterStreamable(this);
    mPartner = reinterpret_cast<SerialTestView*>(s.ReadReference());
    mValue = s.ReadLong();
}

void SerialTestView::OldResolveReferences(Stream& s)
{
    uintptr_t partner = reinterpret_cast<uintptr_t>(mPartner);
    if (s.NeedsResolving(partner))
        mPartner = s.ResolveReference(partner);
}

void SerialTestLabel::OldWrite(Stream& s) const
{
    s.BeginClassWrite("SerialTestLabel", 2);
    SerialTestView::OldWrite(s);
    s.WriteString(mText);
}

void SerialTestLabel::OldRead(Stream& s)
{
    if (s.BeginClassRead("SerialTestLabel") != 2) {
        FWStoredDataNotice::Report("Unknown 'SerialTestLabel' version", "tests/support/SerialTestView", 2);
        return;
    }
    SerialTestView::OldRead(s);
    s.ReadString(mText);
}

std::vector<char> SerialTestDocument::Write(const std::vector<const SerialTestView*>& views, int32_t counter)
{
    GlobalSerialStreamOf<SerialTestView> s(nullptr, 0, SerialTestView::Stream::kWriting);
    s.WriteLong(2);
    s.WriteLong(counter);
    s.WriteLong(int32_t(views.size()));
    for (const SerialTestView* view : views) {
        s.WriteString(view->FactoryGetClassName(), 255);
        uint32_t at = s.LeaveSpaceForOffset();
        view->OldWrite(s);
        s.PatchOffset(at, int32_t(s.GetCurrPos() - at - 4));
    }
    s.FinishWriting();
    const char* bytes = s.Buffer();
    return std::vector<char>(bytes, bytes + s.Size());
}

SerialTestDocument::Result SerialTestDocument::Read(const std::vector<char>& bytes)
{
    Result result;
    // As a layout's reading: records of unknown versions are named in one notice at the end.
    FWStoredDataNotice unknownVersions;
    GlobalSerialStreamOf<SerialTestView> s(bytes.data(), uint32_t(bytes.size()),
                                          SerialTestView::Stream::kReading);
    result.tableSize = s.TableSize();
    s.SetVersion(s.ReadLong());
    result.counter = s.ReadLong();
    int32_t count = s.ReadLong();
    for (int32_t i = 0; i < count; ++i) {
        SerialTestView* view = FactoryHandler<SerialTestView>::OldRead(s);
        if (view == nullptr)
            ++result.skipped;
        else
            result.views.emplace_back(view);
    }
    for (auto it = result.views.rbegin(); it != result.views.rend(); ++it)
        (*it)->OldResolveReferences(s);
    unknownVersions.Present();
    return result;
}
