// The editor's command line: the path of one skin file to open, in double
// quotes.
#pragma once

#include <string>

// The path the command line names: the text between its first pair of
// double quotes, or, without a leading quote, the whole line without the
// blanks around it (as a file dropped on the program may be passed). ""
// when the line names none.
std::string SkinPathFromCommandLine(const char* line);
