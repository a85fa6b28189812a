// Edge of the planar mesh.
#include "config/CMeshEdge.h"

#include "config/CMeshPointerMap.h"
#include "config/CMeshVertex.h"

#include <cmath>

namespace {

int SideOf(double s) {
    if (s > kMeshTolerance) {
        return 1;
    }
    return s < -kMeshTolerance ? -1 : 0;
}

}  // namespace

CMeshEdge::CMeshEdge(CMeshVertex* a, CMeshVertex* b) : m_a(a), m_b(b) {
    const double length = std::hypot(b->X() - a->X(), b->Y() - a->Y());
    if (!(length > 0)) {
        // Coincident ends have no line; the builder never joins them.
        return;
    }
    m_nx = (a->Y() - b->Y()) / length;
    m_ny = (b->X() - a->X()) / length;
    const double mx = (a->X() + b->X()) / 2;
    const double my = (a->Y() + b->Y()) / 2;
    m_c = -(m_nx * mx + m_ny * my);
    m_bx = m_ny;
    m_by = -m_nx;
    m_bc = -(m_ny * mx - m_nx * my);
}

int CMeshEdge::Side(double x, double y) const {
    return SideOf(m_nx * x + m_ny * y + m_c);
}

int CMeshEdge::BisectorSide(double x, double y) const {
    return SideOf(BisectorValue(x, y));
}

bool CMeshEdge::IntersectBisectors(const CMeshEdge& first, const CMeshEdge& second, double& x, double& y) {
    const double det = first.m_bx * second.m_by - first.m_by * second.m_bx;
    if (!(std::fabs(det) > kMeshTolerance)) {
        return false;
    }
    x = (first.m_by * second.m_bc - second.m_by * first.m_bc) / det;
    y = (second.m_bx * first.m_bc - first.m_bx * second.m_bc) / det;
    return std::isfinite(x) && std::isfinite(y);
}

void CMeshEdge::MarkDone(int side) {
    if (side > 0) {
        m_leftDone = true;
    } else {
        m_rightDone = true;
    }
}

void CMeshEdge::SetTriangle(int side, CMeshTriangle* triangle) {
    if (side > 0) {
        m_left = triangle;
    } else {
        m_right = triangle;
    }
    MarkDone(side);
}

void CMeshEdge::ClearTriangle(const CMeshTriangle* triangle) {
    if (m_left == triangle) {
        m_left = nullptr;
        m_leftDone = false;
    }
    if (m_right == triangle) {
        m_right = nullptr;
        m_rightDone = false;
    }
}

void CMeshEdge::TranslatePointers(const CMeshPointerMap& map) {
    m_a = map.Find(m_a);
    m_b = map.Find(m_b);
    m_left = map.Find(m_left);
    m_right = map.Find(m_right);
}
