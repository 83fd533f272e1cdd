// The assertion alert: how the program reports its own misuse (a broken invariant, a bad
// argument). It is reported, not thrown; after "Switch to Debugger" the caller continues.
#pragma once

struct FWProgrammerMessageInfo {
    const char* message;    // the caller's text (may be empty)
    const char* sourcePath; // source file from the framework folder down, without extension
    int line;
    const char* text;       // the full text shown: sentence, and the message when non-empty
    // False for a notice about stored data this program cannot read whole (a record of a newer
    // version): no "Abort" is offered, every answer goes on.
    bool offersAbort = true;
};

// Shows the alert and returns true when the user chose "Abort". Exactly one presenter is
// installed at a time: an alert in the program, a recorder in tests.
using FWProgrammerMessagePresenter = bool (*)(const FWProgrammerMessageInfo& info);

// Installs a presenter (null restores the default, the assertion alert of FWUserMsg.h)
// and returns the one it replaces.
FWProgrammerMessagePresenter FWSetProgrammerMessagePresenter(FWProgrammerMessagePresenter presenter);

// Returns 1 when the caller is to continue; "Abort" ends the process.
int fw_programmer_message(const char* message, const char* sourcePath, int line);
// Hands the message, as it stands, to the same presenter as a notice that only goes on.
void fw_stored_data_notice(const char* message, const char* sourcePath, int line);

// Formats a message and hands it, cut to 255 characters, to the debugger. Returns the
// formatted length.
int fw_dprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
