// Base of the failures of the pattern compiler. They carry no text: the lexer that compiles a
// pattern catches every one of them and drops the pattern.
#pragma once

class REException {
public:
    REException() = default;
    virtual ~REException();
};
