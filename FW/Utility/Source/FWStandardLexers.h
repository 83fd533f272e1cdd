// The eleven standard lexers that check what is typed into edit fields bound to a value type.
// Built once, on first use, and kept until the program ends.
#pragma once

class RELexer;

// Builds the lexers if they are not built yet.
void FWInitStandardLexers();

// The lexer for a value type (0 unsigned integer, 1 signed integer, 2 unsigned real, 3 signed
// real, 4 on/off, 5 expression list). With allowExpression, types 0-4 also accept an expression
// list. The type is not checked.
RELexer* FWGetLexerForType(int type, bool allowExpression);
