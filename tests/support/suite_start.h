// The start of every suite that is given files on its command line.
#pragma once

#include <initializer_list>
#include <string>

// Makes the process DPI-aware before it reads any window, so that it sees
// the program's own pixels on any display and in any test order; takes
// GoogleTest's flags, then the files named, as Windows paths, from the wide
// command line, so that paths in any script arrive whole. False, with a
// usage line naming the files on standard error, when their count is off.
bool StartSuite(const char* names, std::initializer_list<std::wstring*> paths);
