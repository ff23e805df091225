#pragma once
// Boost.Polygon without the standard streams. It includes <iostream> for
// debugging printouts this code never instantiates; with it every program
// that links the merge would set up the streams and the locale at start,
// which the command line otherwise never links. libstdc++'s guard is taken
// and the one name the printouts use declared.

#include <version>
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_IOSTREAM)
#define _GLIBCXX_IOSTREAM 1
#include <ostream>
namespace std {
extern ostream cout;
}
#endif
#include <boost/polygon/polygon.hpp>
