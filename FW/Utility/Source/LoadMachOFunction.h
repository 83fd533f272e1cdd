// Platform functions found by name at run time, in a named platform framework. Loaded
// frameworks are kept for the whole run; a framework that fails to load is tried again on
// the next call.
#pragma once

// The address of functionName in frameworkName ("ApplicationServices.framework"), or null.
void* LoadMachOFunction(const char* functionName, const char* frameworkName);
