// The converter's preferences: ASCII text values under keys of the application's own domain,
// read into and written from length-prefixed buffers.
#pragma once

#include "HostTypes.h"

// The value of key as a length-prefixed string of at most 254 ASCII characters, zero-terminated
// after the text; empty when the key is absent or its value does not convert.
void LoadPref(Str255 value, const char* key);
// Stores the zero-terminated ASCII value under key and writes the preferences through at once.
// An empty value, or one that is not ASCII, is not stored.
void SavePref(const char* value, const char* key);
