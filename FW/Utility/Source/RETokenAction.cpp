#include "RETokenAction.h"

RETokenAction::~RETokenAction() = default;

void RETokenAction::TokenScanned() {}
