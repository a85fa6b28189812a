// Where each vertex, edge and triangle of one mesh went in a copy of it, so that the
// copies' pointers to one another can be turned from the original's into the copy's.
#pragma once

#include <unordered_map>

class CMeshEdge;
class CMeshTriangle;
class CMeshVertex;

class CMeshPointerMap {
public:
    void Add(const CMeshVertex* from, CMeshVertex* to) { m_vertices.emplace(from, to); }

    void Add(const CMeshEdge* from, CMeshEdge* to) { m_edges.emplace(from, to); }

    void Add(const CMeshTriangle* from, CMeshTriangle* to) { m_triangles.emplace(from, to); }

    // The copy of an original; null stays null.
    CMeshVertex* Find(const CMeshVertex* from) const { return Lookup(m_vertices, from); }

    CMeshEdge* Find(const CMeshEdge* from) const { return Lookup(m_edges, from); }

    CMeshTriangle* Find(const CMeshTriangle* from) const { return Lookup(m_triangles, from); }

private:
    template <typename T>
    static T* Lookup(const std::unordered_map<const T*, T*>& map, const T* from) {
        const auto found = map.find(from);
        return found != map.end() ? found->second : nullptr;
    }

    std::unordered_map<const CMeshVertex*, CMeshVertex*> m_vertices;
    std::unordered_map<const CMeshEdge*, CMeshEdge*> m_edges;
    std::unordered_map<const CMeshTriangle*, CMeshTriangle*> m_triangles;
};
