// A triangle of the planar mesh: corners and edges in creation order, the plane through
// the corners' values and the circumcircle.
#pragma once

#include <array>

class CMeshEdge;
class CMeshPointerMap;
class CMeshVertex;

class CMeshTriangle {
public:
    // Edges in the corners' order: edge i joins corner i and corner (i + 1) mod 3.
    CMeshTriangle(const std::array<CMeshVertex*, 3>& corners, const std::array<CMeshEdge*, 3>& edges);

    CMeshVertex* GetCorner(int i) const { return m_corners[i]; }

    CMeshEdge* GetEdge(int i) const { return m_edges[i]; }

    // The corner that is not an end of edge i.
    CMeshVertex* OppositeCorner(int i) const { return m_corners[(i + 2) % 3]; }

    double CentreX() const { return m_centreX; }

    double CentreY() const { return m_centreY; }

    double SquaredRadius() const { return m_squaredRadius; }

    double Radius() const { return m_radius; }

    // Inside or on the circumcircle.
    bool CircleHolds(double x, double y) const;
    // Not strictly outside any edge.
    bool Contains(double x, double y) const;
    // The value of the plane through the corners at (x, y).
    double LinearValueAt(double x, double y) const;

    // A copy made for another mesh points into that mesh.
    void TranslatePointers(const CMeshPointerMap& map);

    int GetVisit() const { return m_visit; }

    void SetVisit(int visit) { m_visit = visit; }

private:
    std::array<CMeshVertex*, 3> m_corners;
    std::array<CMeshEdge*, 3> m_edges;
    double m_a = 0;
    double m_b = 0;
    double m_c = 0;
    double m_d = 0;
    double m_centreX = 0;
    double m_centreY = 0;
    double m_squaredRadius = 0;
    double m_radius = 0;
    int m_visit = 0;
};
