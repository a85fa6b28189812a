// Triangle of the planar mesh.
#include "config/CMeshTriangle.h"

#include "config/CMeshEdge.h"
#include "config/CMeshPointerMap.h"
#include "config/CMeshVertex.h"

#include <cmath>
#include <limits>

CMeshTriangle::CMeshTriangle(const std::array<CMeshVertex*, 3>& corners,
                             const std::array<CMeshEdge*, 3>& edges)
    : m_corners(corners), m_edges(edges) {
    const double x1 = corners[0]->X();
    const double y1 = corners[0]->Y();
    const double z1 = corners[0]->GetValue();
    const double x2 = corners[1]->X();
    const double y2 = corners[1]->Y();
    const double z2 = corners[1]->GetValue();
    const double x3 = corners[2]->X();
    const double y3 = corners[2]->Y();
    const double z3 = corners[2]->GetValue();
    m_a = (z3 - z1) * (y2 - y1) - (y3 - y1) * (z2 - z1);
    m_b = (z2 - z1) * (x3 - x1) - (x2 - x1) * (z3 - z1);
    m_c = (y3 - y1) * (x2 - x1) - (x3 - x1) * (y2 - y1);
    m_d = -(m_a * x1 + m_c * z1 + m_b * y1);
    if (CMeshEdge::IntersectBisectors(*edges[0], *edges[1], m_centreX, m_centreY)) {
        m_squaredRadius = corners[0]->SquaredDistance(m_centreX, m_centreY);
    } else {
        // Nearly collinear corners: a circle that holds every point keeps the
        // neighbour search going without inventing a far-away centre.
        m_centreX = (x1 + x2 + x3) / 3;
        m_centreY = (y1 + y2 + y3) / 3;
        m_squaredRadius = std::numeric_limits<double>::infinity();
    }
    m_radius = std::sqrt(m_squaredRadius);
}

bool CMeshTriangle::CircleHolds(double x, double y) const {
    const double dx = x - m_centreX;
    const double dy = y - m_centreY;
    return dx * dx + dy * dy <= m_squaredRadius;
}

bool CMeshTriangle::Contains(double x, double y) const {
    for (int i = 0; i < 3; ++i) {
        const CMeshVertex* third = OppositeCorner(i);
        const int side = m_edges[i]->Side(x, y);
        if (side != 0 && side != m_edges[i]->Side(third->X(), third->Y())) {
            return false;
        }
    }
    return true;
}

double CMeshTriangle::LinearValueAt(double x, double y) const {
    if (m_c == 0) {
        return 0;
    }
    return -(m_b * y + m_a * x + m_d) / m_c;
}

void CMeshTriangle::TranslatePointers(const CMeshPointerMap& map) {
    for (CMeshVertex*& corner : m_corners) {
        corner = map.Find(corner);
    }
    for (CMeshEdge*& edge : m_edges) {
        edge = map.Find(edge);
    }
}
