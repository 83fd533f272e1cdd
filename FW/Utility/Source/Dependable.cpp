// The dependency protocol: change notices down the dependants, deletion notices to references
// and dependants, and the checks that keep the graph free of cycles and duplicates.
#include "Dependable.h"

#include "FWProgrammerMessage.h"
#include "PersistentRegistry.h"
#include "PreorderTraversal.h"
#include "ReferenceLink.h"

namespace {
const char* const kSourcePath = "FW/Utility/Source/Dependancy";
} // namespace

Dependable::Dependable() : mDebugName("Dependable"), mDependants(this)
{
}

Dependable::~Dependable()
{
    if (mDependants.TreeNode<DNode>::FirstChild() != nullptr)
        fw_programmer_message("Must send 'IsBeingDeleted' message before deleting a dependable.", kSourcePath, 38);
    // The nodes naming the remaining dependants belong to this object.
    mDependants.DeleteChildren();
}

void Dependable::SetDebugName(const char* name)
{
    if (name != nullptr)
        mDebugName = name;
}

bool Dependable::ReceiveMessage(Dependable* sender, Message m)
{
    if (m == ChangeNotice) {
        if (mDependants.FirstChild() == nullptr)
            return true;
        PreorderTraversal<DNode> walk(&mDependants, false);
        walk.First(); // the object itself
        for (DNode* node = walk.Next(); node != nullptr; node = walk.Next()) {
            Dependable* from = node->Parent()->GetDependable();
            if (!node->GetDependable()->ReceiveMessage(from, ChangeNotice))
                walk.SkipToNextPeer();
        }
        return true;
    }
    if (m == IsBeingDeleted && sender == this)
        announceDeletion();
    return true;
}

void Dependable::announceDeletion()
{
    for (ReferenceLink* link = mReferences; link != nullptr; link = link->mNext)
        link->ReceiveMessage(this, IsBeingDeleted);

    while (DNode* first = mDependants.FirstChild()) {
        Dependable* dependant = first->GetDependable();
        dependant->ReceiveMessage(this, IsBeingDeleted);
        DNode* now = mDependants.FirstChild();
        if (now != nullptr && now->GetDependable() == dependant) {
            fw_programmer_message("Dependable should have responded to 'IsBeingDeleted' message and broken it's "
                                  "reference to sender",
                                  kSourcePath, 81);
            // The dependant keeps a stale reference, but the deletion must go on.
            BreakDependancy(dependant);
        }
    }
}

bool Dependable::EstablishDependancy(Dependable* receiver)
{
    if (receiver == nullptr) {
        fw_programmer_message("Tried to 'EstablishDependancy' with a NULL receiver object", kSourcePath, 172);
        return false;
    }
    // This object anywhere among receiver and its dependants, transitively, would close a cycle.
    PreorderTraversal<DNode> walk(&receiver->mDependants, false);
    for (DNode* node = walk.First(); node != nullptr; node = walk.Next()) {
        if (node->GetDependable() == this) {
            fw_programmer_message("Tried to establish a cyclic dependancy.", kSourcePath, 177);
            return false;
        }
    }
    for (DNode* node = mDependants.FirstChild(); node != nullptr; node = node->NextPeer()) {
        if (node->GetDependable() == receiver) {
            fw_programmer_message("Tried to establish a dependancy twice.", kSourcePath, 183);
            return false;
        }
    }
    mDependants.AppendChild(new DNode(receiver));
    return true;
}

void Dependable::BreakDependancy(Dependable* dependant)
{
    if (dependant == nullptr || PersistentRegistry::IsAPersistentID(dependant))
        return;
    for (DNode* node = mDependants.FirstChild(); node != nullptr; node = node->NextPeer()) {
        if (node->GetDependable() == dependant) {
            node->Unlink();
            delete node;
            return;
        }
    }
}

void Dependable::SendMessage(Message m)
{
    if (mSending)
        return;
    mSending = true;
    ReceiveMessage(this, m);
    mSending = false;
}

void Dependable::appendReference(ReferenceLink* link)
{
    if (link == nullptr)
        return;
    ReferenceLink** end = &mReferences;
    while (*end != nullptr)
        end = &(*end)->mNext;
    *end = link;
}
