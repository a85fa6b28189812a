// An edge of the planar mesh: its line and perpendicular bisector as unit-normal
// equations, and the triangle on each side. A side is done once a triangle lies on it
// or once it is known that none can.
#pragma once

class CMeshPointerMap;
class CMeshTriangle;
class CMeshVertex;

// Distances below this count as lying on a line.
constexpr double kMeshTolerance = 1e-7;

class CMeshEdge {
public:
    CMeshEdge(CMeshVertex* a, CMeshVertex* b);

    CMeshVertex* GetA() const { return m_a; }

    CMeshVertex* GetB() const { return m_b; }

    CMeshVertex* Other(const CMeshVertex* v) const { return v == m_a ? m_b : m_a; }

    bool Joins(const CMeshVertex* u, const CMeshVertex* v) const {
        return (m_a == u && m_b == v) || (m_a == v && m_b == u);
    }

    // +1 left of a -> b, -1 right, 0 on the line (within the tolerance).
    int Side(double x, double y) const;
    // The same against the perpendicular bisector: +1 on b's side, -1 on a's.
    int BisectorSide(double x, double y) const;

    double BisectorValue(double x, double y) const { return m_bx * x + m_by * y + m_bc; }

    // Where the bisectors of two edges meet; false when they are parallel.
    static bool IntersectBisectors(const CMeshEdge& first, const CMeshEdge& second, double& x, double& y);

    CMeshTriangle* GetTriangle(int side) const { return side > 0 ? m_left : m_right; }

    bool IsDone(int side) const { return side > 0 ? m_leftDone : m_rightDone; }

    void MarkDone(int side);
    // Records the triangle on the side where its corner off this edge lies.
    void SetTriangle(int side, CMeshTriangle* triangle);
    // Forgets the triangle; its side is open again.
    void ClearTriangle(const CMeshTriangle* triangle);
    // A copy made for another mesh points into that mesh.
    void TranslatePointers(const CMeshPointerMap& map);

    // The triangle across this edge from the given one, or null.
    CMeshTriangle* Across(const CMeshTriangle* triangle) const {
        return triangle == m_left ? m_right : m_left;
    }

private:
    CMeshVertex* m_a;
    CMeshVertex* m_b;
    double m_nx = 0;
    double m_ny = 0;
    double m_c = 0;
    double m_bx = 0;
    double m_by = 0;
    double m_bc = 0;
    CMeshTriangle* m_left = nullptr;
    CMeshTriangle* m_right = nullptr;
    bool m_leftDone = false;
    bool m_rightDone = false;
};
