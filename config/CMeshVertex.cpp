// Vertex of the planar mesh.
#include "config/CMeshVertex.h"

#include "config/CMeshEdge.h"
#include "config/CMeshPointerMap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

double CMeshVertex::SquaredDistance(double x, double y) const {
    const double dx = x - m_x;
    const double dy = y - m_y;
    return dx * dx + dy * dy;
}

double CMeshVertex::AngleOf(const CMeshEdge& edge) const {
    const CMeshVertex* other = edge.Other(this);
    const double dx = other->m_x - m_x;
    const double dy = other->m_y - m_y;
    if (std::fabs(dx) < kMeshTolerance) {
        return dy > 0 ? kPi / 2 : 3 * kPi / 2;
    }
    const double t = std::atan(dy / dx);
    if (dx >= 0) {
        return dy >= 0 ? t : t + 2 * kPi;
    }
    return t + kPi;
}

void CMeshVertex::InsertEdge(CMeshEdge* edge, bool ordered) {
    if (!ordered) {
        m_edges.push_back(edge);
        return;
    }
    // Kept ascending, which is one rotation of the cyclic order: the new edge goes
    // before the first one beyond it.
    const double angle = AngleOf(*edge);
    for (auto it = m_edges.begin(); it != m_edges.end(); ++it) {
        if (AngleOf(**it) > angle) {
            m_edges.insert(it, edge);
            return;
        }
    }
    m_edges.push_back(edge);
}

CMeshEdge* CMeshVertex::FindEdgeTo(const CMeshVertex* other) const {
    for (CMeshEdge* edge : m_edges) {
        if (edge->Other(this) == other) {
            return edge;
        }
    }
    return nullptr;
}

void CMeshVertex::ClearMesh() {
    m_edges.clear();
    m_triangles.clear();
}

bool CMeshVertex::IsOnHull() const {
    for (const CMeshEdge* edge : m_edges) {
        if (edge->GetTriangle(1) == nullptr || edge->GetTriangle(-1) == nullptr) {
            return true;
        }
    }
    return false;
}

void CMeshVertex::RemoveTriangle(const CMeshTriangle* triangle) {
    m_triangles.erase(std::remove(m_triangles.begin(), m_triangles.end(), triangle), m_triangles.end());
}

void CMeshVertex::TranslatePointers(const CMeshPointerMap& map) {
    m_nearest = map.Find(m_nearest);
    for (CMeshEdge*& edge : m_edges) {
        edge = map.Find(edge);
    }
    for (CMeshTriangle*& triangle : m_triangles) {
        triangle = map.Find(triangle);
    }
}
