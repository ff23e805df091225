#include "cut/centreline.hpp"

#include "cut/centreline_graph.hpp"

namespace lw {

CentreLines centreline(std::span<const Contour> contours, double tolerance)
{
    centre::Graph graph(medialAxis(contours), tolerance);
    graph.prune();
    graph.joinNearJunctions();
    graph.trimEnds();
    return graph.lines();
}

} // namespace lw
