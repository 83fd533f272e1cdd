// The converter's nib "main": the menu bar "MenuBar" and the message windows "Error",
// "Question" and "Note", each with its text item 100 and buttons sending 'ok  ' and 'not!'.
#pragma once

// Registers the nib with the host; calling it again changes nothing.
void RegisterMainNib();
