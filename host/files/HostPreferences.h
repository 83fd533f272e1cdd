// Application preferences: string values under string keys, one domain per application, kept
// in a small text file "<application>.prefs" in the user's configuration folder (the 'pref'
// folder of FSFindFolder). Values live in memory once read; synchronizing writes the domain
// through a new file and a rename, so a failed write leaves the old file whole.
//
// The file holds one "key=value" line per preference, UTF-8, with '%', '=', control characters
// and bytes above 0x7E written as %XX. A line that does not read is skipped; a file that cannot
// be read leaves the domain empty.
#pragma once

#include "HostCoreFoundation.h"

#include <map>
#include <string>
#include <string_view>

// The domain of the running program (named after its executable).
extern const CFStringRef kCFPreferencesCurrentApplication;

// A new reference to the value stored under key, or null when there is none. The caller
// releases it.
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);
// Stores value (a string; a null value removes the key) in memory; other kinds are ignored.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);
// Writes the domain's values to its file; false when they could not be written whole.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);

// Test interface: forget every domain read so far, so the next call reads the files again (as
// the next run of a program would).
void HostResetPreferences();
// The file that holds a domain's preferences.
std::string HostPreferencesFilePath(CFStringRef applicationID);

// A domain's keys and values (UTF-8), and their form in a preferences file.
using HostPreferenceValues = std::map<std::string, std::string>;
HostPreferenceValues HostPreferencesFromText(std::string_view text);
std::string HostPreferencesToText(const std::string& applicationName, const HostPreferenceValues& values);
