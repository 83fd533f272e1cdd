// The converter's three message windows, each built from the window of that name in the nib
// "main": the text goes into its text item 100 and the window runs application-modal.
#pragma once

#include "PascalString.h"

// An error: the user can only acknowledge it.
void ShowErr(const PascalString& text, const char* windowName);
// A question: true when the user answers OK, false for Cancel (or when the window is missing).
bool ShowQuestion(const PascalString& text, const char* windowName);
// A note: the user acknowledges it.
void ShowNote(const PascalString& text, const char* windowName);
