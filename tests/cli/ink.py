"""The ink of a drawing's rings as a reader fills them, by the nonzero rule:
shapely does the geometry, the winding is counted here along each ring."""
from shapely.geometry import LinearRing
from shapely.ops import polygonize, unary_union


def signed_area(ring):
    """Positive for a ring that turns counter-clockwise with y up."""
    return sum(ax * by - bx * ay for (ax, ay), (bx, by) in zip(ring, ring[1:] + ring[:1])) / 2


def winding(rings, x, y):
    """How often the rings wind around (x, y), each by its own direction."""
    w = 0
    for r in rings:
        for (ax, ay), (bx, by) in zip(r, r[1:] + r[:1]):
            side = (bx - ax) * (y - ay) - (x - ax) * (by - ay)
            if ay <= y < by and side > 0:
                w += 1
            elif by <= y < ay and side < 0:
                w -= 1
    return w


def nonzero_region(rings):
    """The area the rings wind around, as one shapely geometry."""
    lines = unary_union([LinearRing(r) for r in rings if len(set(r)) >= 3])
    return unary_union([face for face in polygonize(lines)
                        if winding(rings, *face.representative_point().coords[0]) != 0])
