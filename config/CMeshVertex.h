// A point of the planar mesh: its place, its value, and the edges and triangles that
// meet at it. Border seeds copy the value of the data point nearest to them.
#pragma once

#include <vector>

class CMeshEdge;
class CMeshPointerMap;
class CMeshTriangle;

class CMeshVertex {
public:
    CMeshVertex(double x, double y, double value, int seed) : m_x(x), m_y(y), m_value(value), m_seed(seed) {}

    double X() const { return m_x; }

    double Y() const { return m_y; }

    double GetValue() const { return m_value; }

    void SetValue(double value) { m_value = value; }

    bool IsSeed() const { return m_seed != 0; }

    CMeshVertex* GetNearest() const { return m_nearest; }

    void SetNearest(CMeshVertex* nearest) { m_nearest = nearest; }

    int GetVisit() const { return m_visit; }

    void SetVisit(int visit) { m_visit = visit; }

    double SquaredDistance(double x, double y) const;

    // Direction of the edge's other end seen from here, 0 to 2 pi.
    double AngleOf(const CMeshEdge& edge) const;
    // Inserts the edge where its angle fits the cyclic order; appended when not ordered.
    void InsertEdge(CMeshEdge* edge, bool ordered);
    // The edge joining this vertex and other, or null.
    CMeshEdge* FindEdgeTo(const CMeshVertex* other) const;

    const std::vector<CMeshEdge*>& GetEdges() const { return m_edges; }

    void AddTriangle(CMeshTriangle* triangle) { m_triangles.push_back(triangle); }

    void RemoveTriangle(const CMeshTriangle* triangle);

    const std::vector<CMeshTriangle*>& GetTriangles() const { return m_triangles; }

    // Forgets the edges and triangles; they belong to the builder.
    void ClearMesh();
    // A copy made for another mesh points into that mesh.
    void TranslatePointers(const CMeshPointerMap& map);
    // True when one of its edges lacks a triangle on one of its sides.
    bool IsOnHull() const;

private:
    double m_x;
    double m_y;
    double m_value;
    int m_seed;
    CMeshVertex* m_nearest = nullptr;
    int m_visit = 0;
    std::vector<CMeshEdge*> m_edges;
    std::vector<CMeshTriangle*> m_triangles;
};
