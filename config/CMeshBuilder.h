// Interpolates a smooth surface through scattered points of a rectangle: a Delaunay
// triangulation grown from an advancing front of edges, evaluated by natural-neighbour
// (Sibson) weights, the area that a query point's Voronoi cell takes from each
// neighbour's cell. Twelve border seeds carrying the value of their nearest data point
// make the surface defined everywhere in the rectangle.
#pragma once

#include "config/CMeshEdge.h"
#include "config/CMeshTriangle.h"
#include "config/CMeshVertex.h"

#include <array>
#include <deque>
#include <memory>
#include <vector>

class CMeshBuilder {
public:
    CMeshBuilder() = default;
    CMeshBuilder(const CMeshBuilder&) = delete;
    CMeshBuilder& operator=(const CMeshBuilder&) = delete;

    // Both must be positive (and finite); otherwise nothing changes and false is returned.
    bool SetArea(double width, double height);

    double GetWidth() const { return m_width; }

    double GetHeight() const { return m_height; }

    // Deletes everything, then adds the twelve border seeds with value 0.
    void SeedBorder();
    // Null for a point outside the rectangle, for a non-finite value and for a point
    // that coincides with one already present (an edge between them would have no line).
    CMeshVertex* AddPoint(double x, double y, double value, int seed);
    // Deletes the edges and triangles; the vertices stay.
    void ResetMesh();
    void Build();
    // Adds one triangle; false when the front is used up.
    bool Step();
    // Takes the newest triangle out of the mesh; its edges go back to the front, so that
    // the next Step can build it again. False when there is none.
    bool RemoveLastTriangle();
    // Replaces this mesh with a copy of the source's points, edges, triangles and front.
    void CopyFrom(const CMeshBuilder& source);
    // The natural-neighbour value at (x, y); 0 outside every triangle.
    double GetValueAt(double x, double y);
    // The plane of the first triangle that holds (x, y); 0 outside every triangle.
    double GetLinearValueAt(double x, double y) const;

    const std::vector<std::unique_ptr<CMeshVertex>>& GetVertices() const { return m_vertices; }

    const std::vector<std::unique_ptr<CMeshEdge>>& GetEdges() const { return m_edges; }

    const std::vector<std::unique_ptr<CMeshTriangle>>& GetTriangles() const { return m_triangles; }

private:
    using Corners = std::array<CMeshVertex*, 3>;
    using Polygon = std::vector<std::array<double, 2>>;

    bool StartMesh();
    bool GrowFront();
    CMeshVertex* FindDelaunayPoint(const CMeshEdge& edge, int& side) const;
    static Corners Oriented(CMeshVertex* a, CMeshVertex* b, CMeshVertex* c, int side);
    bool IsBlocked(const Corners& corners) const;
    bool CrossesMesh(CMeshVertex* from, CMeshVertex* to) const;
    CMeshEdge* NewEdge(CMeshVertex* a, CMeshVertex* b);
    CMeshEdge* EdgeBetween(CMeshVertex* a, CMeshVertex* b);
    void AddTriangle(const Corners& corners);
    CMeshTriangle* FindContainingTriangle(double x, double y) const;
    std::vector<CMeshVertex*> FindNaturalNeighbours(CMeshTriangle* start, double x, double y);
    Polygon CellOf(const CMeshVertex& vertex) const;
    double StolenArea(const CMeshVertex& neighbour,
                      const std::vector<std::unique_ptr<CMeshEdge>>& queryEdges) const;
    void ClearVisits();

    std::vector<std::unique_ptr<CMeshVertex>> m_vertices;
    std::vector<std::unique_ptr<CMeshEdge>> m_edges;
    std::vector<std::unique_ptr<CMeshTriangle>> m_triangles;
    std::deque<CMeshEdge*> m_front;  // not owned
    bool m_started = false;
    double m_width = 1.0;
    double m_height = 1.0;
};
