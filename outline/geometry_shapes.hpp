#pragma once
// Boost.Geometry's shapes as the offsets use them: grid points held as
// doubles, polygons with their holes, and sets of polygons. An includer
// that instantiates Boost's buffer keeps GCC 12's -Wmaybe-uninitialized off
// around it (see cut/offset.cpp).

#include <boost/geometry.hpp>

namespace lw::shapes {

namespace bg = boost::geometry;
using BgPoint = bg::model::d2::point_xy<double>;
using BgLine = bg::model::linestring<BgPoint>;
using BgPolygon = bg::model::polygon<BgPoint>;
using BgShapes = bg::model::multi_polygon<BgPolygon>;
using BgBox = bg::model::box<BgPoint>;

} // namespace lw::shapes
