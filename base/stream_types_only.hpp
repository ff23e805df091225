#pragma once
// Forced into every file of the core on Linux (the top CMakeLists.txt): a
// header there that includes <iostream> (Boost.Polygon's do) gets the stream
// types and not the static object that sets up std::cout, std::cin and the
// locale at every start of every program linking that file. The core writes
// only to the streams it is handed: the standard ones are declared for the
// headers that name them, and naming one in our own code is an error, since
// a program of the core alone would write to a stream never set up.

#include <istream>
#include <ostream>

// libstdc++'s guard for <iostream>; another library keeps its own header.
#ifdef __GLIBCXX__
#define _GLIBCXX_IOSTREAM 1

namespace std {
#define LW_NOT_IN_THE_CORE [[deprecated("the core writes to the stream it is handed")]]
LW_NOT_IN_THE_CORE extern istream cin;
LW_NOT_IN_THE_CORE extern ostream cout;
LW_NOT_IN_THE_CORE extern ostream cerr;
LW_NOT_IN_THE_CORE extern ostream clog;
LW_NOT_IN_THE_CORE extern wistream wcin;
LW_NOT_IN_THE_CORE extern wostream wcout;
LW_NOT_IN_THE_CORE extern wostream wcerr;
LW_NOT_IN_THE_CORE extern wostream wclog;
#undef LW_NOT_IN_THE_CORE
} // namespace std
#endif
