#include "FWException.h"

// To be built.
void FWException::ReportException(FWException&) {}
void FWException::ReportException(FWException&, const char*) {}
void FWException::ReportException(const char*, const char*) {}
