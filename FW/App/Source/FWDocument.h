// A document: the data behind one or more windows, with an optional file and an unsaved-changes
// flag. It sits in the application's document list, is the handler chain's step between its
// windows and the application, and takes its windows with it when it is deleted. Applications
// derive from it and supply reading, writing and window creation.
#pragma once

#include "Dependable.h"
#include "FWEventHandler.h"
#include "FWList.h"
#include "FileReference.h"
#include "ListNode.h"

class FWApp;
class FWWindow;

class FWDocument : public Dependable, public FWEventHandler, public ListNode<FWDocument> {
public:
    // Becomes the active document and joins the application's document list.
    FWDocument();
    // Leaves the application's document list, then deletes its windows, the first left each time.
    ~FWDocument() override;

    // Being deleted, the document passes the message on to each of its windows (or to the
    // window's multi-window owner).
    bool ReceiveMessage(Dependable* sender, Message m) override;

    // Hooks, doing nothing here.
    virtual void InitWindows() {}
    virtual void InitNewDoc() {}
    virtual void InitOpenDoc() {}
    virtual void ActivateEvent(bool active) {}
    virtual void SetDocFileType(const FileReference& file) {}
    virtual void WriteDocument(const FileReference& file) {}
    virtual void ReadDocument(const FileReference& file) {}

    // The handler chain: the application.
    FWEventHandler* GetParent(FWEvent& event) override;

    // Windows: each joins this document's list and the application's.
    void AddWindow(FWWindow* window);
    void RemoveWindow(FWWindow* window);
    FWList<FWWindow>& GetWindowList() { return mWindows; }
    // DocumentUpdateEvent on every window but the one excepted; true when any answered true.
    bool UpdateAllWindows(FWWindow* except);

    // State
    void SetDirtyFlag(bool dirty) { mDirty = dirty; }
    bool IsDirty() const { return mDirty; }
    void SetAssociatedFile(const FileReference& file) { mFile = file; }
    const FileReference& AssociatedFile() const { return mFile; }
    // The file is named and exists.
    bool HasAssociatedFile() const { return mFile.Exists(); }
    // The file's name when the document has a file, else "Untitled".
    void DocName(FWString& name) const;

    // This document's link in a list of documents.
    void AddToList(FWList<FWDocument>* list);
    void RemoveFromList(FWList<FWDocument>* list);

private:
    FWList<FWWindow> mWindows;
    FWApp* mApp;
    bool mDirty = false;
    FileReference mFile;
};
