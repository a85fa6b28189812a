// Planar mesh: advancing-front Delaunay triangulation and natural-neighbour values.
#include "config/CMeshBuilder.h"

#include "config/CMeshPointerMap.h"

#include <cmath>

namespace {

using Point = std::array<double, 2>;
using Polygon = std::vector<Point>;

// Clipping can only add a corner per crossing; rounding on a degenerate cell must not
// let a polygon grow without bound.
constexpr std::size_t kMaxPolygonCorners = 4096;

// The side of the edge, +1 left and -1 right, on which a triangle lies whose corners
// run counter-clockwise through `from` and then the edge's other end.
int SideAfter(const CMeshEdge& edge, const CMeshVertex* from) {
    return edge.GetA() == from ? 1 : -1;
}

// Keeps the part of the polygon on the keep side of the edge's bisector; corners within
// the tolerance of the bisector belong to both parts.
Polygon ClipByBisector(const Polygon& polygon, const CMeshEdge& edge, int keep) {
    Polygon kept;
    const std::size_t count = polygon.size();
    for (std::size_t i = 0; i < count && kept.size() < kMaxPolygonCorners; ++i) {
        const Point& p = polygon[i];
        const Point& r = polygon[(i + 1) % count];
        const int sp = edge.BisectorSide(p[0], p[1]);
        const int sr = edge.BisectorSide(r[0], r[1]);
        if (sp == keep || sp == 0) {
            kept.push_back(p);
        }
        if (sp != 0 && sr != 0 && sp != sr) {
            const double vp = edge.BisectorValue(p[0], p[1]);
            const double vr = edge.BisectorValue(r[0], r[1]);
            const double t = vp / (vp - vr);
            kept.push_back({p[0] + t * (r[0] - p[0]), p[1] + t * (r[1] - p[1])});
        }
    }
    return kept;
}

double FanArea(const Polygon& polygon) {
    double area = 0;
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        const double ax = polygon[i][0] - polygon[0][0];
        const double ay = polygon[i][1] - polygon[0][1];
        const double bx = polygon[i + 1][0] - polygon[0][0];
        const double by = polygon[i + 1][1] - polygon[0][1];
        area += std::fabs(ax * by - ay * bx) / 2;
    }
    return std::isfinite(area) ? area : 0;
}

}  // namespace

bool CMeshBuilder::SetArea(double width, double height) {
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height))) {
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

void CMeshBuilder::SeedBorder() {
    ResetMesh();
    m_vertices.clear();
    const double w = m_width;
    const double h = m_height;
    const Point seeds[] = {{w / 3, 0},     {2 * w / 3, 0}, {w, 0}, {w, h / 3},     {w, 2 * h / 3}, {w, h},
                           {2 * w / 3, h}, {w / 3, h},     {0, h}, {0, 2 * h / 3}, {0, h / 3},     {0, 0}};
    for (const Point& seed : seeds) {
        AddPoint(seed[0], seed[1], 0, 1);
    }
}

CMeshVertex* CMeshBuilder::AddPoint(double x, double y, double value, int seed) {
    if (!(x >= 0 && x <= m_width && y >= 0 && y <= m_height) || !std::isfinite(value)) {
        return nullptr;
    }
    for (const auto& v : m_vertices) {
        if (v->SquaredDistance(x, y) <= kMeshTolerance * kMeshTolerance) {
            return nullptr;
        }
    }
    auto vertex = std::make_unique<CMeshVertex>(x, y, value, seed);
    CMeshVertex* added = vertex.get();
    if (seed == 0) {
        for (const auto& s : m_vertices) {
            if (!s->IsSeed()) {
                continue;
            }
            const CMeshVertex* nearest = s->GetNearest();
            if (nearest == nullptr ||
                s->SquaredDistance(x, y) < s->SquaredDistance(nearest->X(), nearest->Y())) {
                s->SetNearest(added);
                s->SetValue(value);
            }
        }
    } else {
        for (const auto& d : m_vertices) {
            if (d->IsSeed()) {
                continue;
            }
            const CMeshVertex* nearest = added->GetNearest();
            if (nearest == nullptr ||
                added->SquaredDistance(d->X(), d->Y()) < added->SquaredDistance(nearest->X(), nearest->Y())) {
                added->SetNearest(d.get());
                added->SetValue(d->GetValue());
            }
        }
    }
    m_vertices.push_back(std::move(vertex));
    return added;
}

void CMeshBuilder::ResetMesh() {
    m_front.clear();
    m_triangles.clear();
    m_edges.clear();
    for (const auto& v : m_vertices) {
        v->ClearMesh();
    }
    m_started = false;
}

void CMeshBuilder::Build() {
    ResetMesh();
    while (Step()) {
    }
}

bool CMeshBuilder::Step() {
    return m_started ? GrowFront() : StartMesh();
}

bool CMeshBuilder::RemoveLastTriangle() {
    if (m_triangles.empty()) {
        return false;
    }
    const CMeshTriangle* triangle = m_triangles.back().get();
    for (int i = 0; i < 3; ++i) {
        triangle->GetCorner(i)->RemoveTriangle(triangle);
        CMeshEdge* edge = triangle->GetEdge(i);
        edge->ClearTriangle(triangle);
        m_front.push_back(edge);
    }
    m_triangles.pop_back();
    return true;
}

void CMeshBuilder::CopyFrom(const CMeshBuilder& source) {
    if (&source == this) {
        return;
    }
    CMeshPointerMap map;
    std::vector<std::unique_ptr<CMeshVertex>> vertices;
    for (const auto& v : source.m_vertices) {
        vertices.push_back(std::make_unique<CMeshVertex>(*v));
        map.Add(v.get(), vertices.back().get());
    }
    std::vector<std::unique_ptr<CMeshEdge>> edges;
    for (const auto& e : source.m_edges) {
        edges.push_back(std::make_unique<CMeshEdge>(*e));
        map.Add(e.get(), edges.back().get());
    }
    std::vector<std::unique_ptr<CMeshTriangle>> triangles;
    for (const auto& t : source.m_triangles) {
        triangles.push_back(std::make_unique<CMeshTriangle>(*t));
        map.Add(t.get(), triangles.back().get());
    }
    for (const auto& v : vertices) {
        v->TranslatePointers(map);
    }
    for (const auto& e : edges) {
        e->TranslatePointers(map);
    }
    for (const auto& t : triangles) {
        t->TranslatePointers(map);
    }
    m_front.clear();
    for (const CMeshEdge* edge : source.m_front) {
        m_front.push_back(map.Find(edge));
    }
    m_vertices = std::move(vertices);
    m_edges = std::move(edges);
    m_triangles = std::move(triangles);
    m_started = source.m_started;
    m_width = source.m_width;
    m_height = source.m_height;
}

bool CMeshBuilder::StartMesh() {
    if (m_vertices.size() < 3) {
        return false;
    }
    CMeshVertex* a = m_vertices[0].get();
    CMeshVertex* b = m_vertices[1].get();
    double best = a->SquaredDistance(b->X(), b->Y());
    for (std::size_t i = 0; i < m_vertices.size(); ++i) {
        for (std::size_t j = i + 1; j < m_vertices.size(); ++j) {
            const double d = m_vertices[i]->SquaredDistance(m_vertices[j]->X(), m_vertices[j]->Y());
            if (d < best) {
                best = d;
                a = m_vertices[i].get();
                b = m_vertices[j].get();
            }
        }
    }
    const CMeshEdge first(a, b);
    int side = 0;
    CMeshVertex* c = FindDelaunayPoint(first, side);
    if (c == nullptr) {
        // All points on one line: there is no triangle to start from.
        return false;
    }
    m_started = true;
    AddTriangle(Oriented(a, b, c, side));
    return true;
}

bool CMeshBuilder::GrowFront() {
    while (!m_front.empty()) {
        CMeshEdge* edge = m_front.front();
        m_front.pop_front();
        if (edge->IsDone(1) && edge->IsDone(-1)) {
            continue;
        }
        int side = edge->IsDone(1) ? -1 : 1;
        CMeshVertex* c = FindDelaunayPoint(*edge, side);
        if (c == nullptr) {
            edge->MarkDone(side);
            continue;
        }
        AddTriangle(Oriented(edge->GetA(), edge->GetB(), c, side));
        return true;
    }
    return false;
}

CMeshBuilder::Corners CMeshBuilder::Oriented(CMeshVertex* a, CMeshVertex* b, CMeshVertex* c, int side) {
    // Left of a -> b runs counter-clockwise as (a, b, c), right as (a, c, b).
    return side > 0 ? Corners{a, b, c} : Corners{a, c, b};
}

CMeshVertex* CMeshBuilder::FindDelaunayPoint(const CMeshEdge& edge, int& side) const {
    CMeshVertex* a = edge.GetA();
    CMeshVertex* b = edge.GetB();
    CMeshVertex* candidate = nullptr;
    double centreX = 0;
    double centreY = 0;
    double squaredRadius = 0;
    for (const auto& owned : m_vertices) {
        CMeshVertex* v = owned.get();
        if (v == a || v == b) {
            continue;
        }
        const int s = edge.Side(v->X(), v->Y());
        if (s == 0 || (side != 0 && s != side)) {
            continue;
        }
        if (candidate != nullptr && !(v->SquaredDistance(centreX, centreY) < squaredRadius)) {
            continue;
        }
        double x = 0;
        double y = 0;
        const CMeshEdge toV(a, v);
        if (!CMeshEdge::IntersectBisectors(edge, toV, x, y) || IsBlocked(Oriented(a, b, v, s))) {
            continue;
        }
        candidate = v;
        side = s;
        centreX = x;
        centreY = y;
        squaredRadius = a->SquaredDistance(x, y);
    }
    return candidate;
}

// A triangle must not lie on a side of an edge that already has one, nor cross the mesh;
// points on one circle otherwise let two front edges choose overlapping triangles.
bool CMeshBuilder::IsBlocked(const Corners& corners) const {
    for (int i = 0; i < 3; ++i) {
        CMeshVertex* from = corners[i];
        CMeshVertex* to = corners[(i + 1) % 3];
        const CMeshEdge* existing = from->FindEdgeTo(to);
        if (existing != nullptr ? existing->IsDone(SideAfter(*existing, from)) : CrossesMesh(from, to)) {
            return true;
        }
    }
    return false;
}

bool CMeshBuilder::CrossesMesh(CMeshVertex* from, CMeshVertex* to) const {
    const CMeshEdge segment(from, to);
    const double dx = to->X() - from->X();
    const double dy = to->Y() - from->Y();
    for (const auto& w : m_vertices) {
        if (w.get() == from || w.get() == to || segment.Side(w->X(), w->Y()) != 0) {
            continue;
        }
        const double along = (w->X() - from->X()) * dx + (w->Y() - from->Y()) * dy;
        if (along > 0 && along < dx * dx + dy * dy) {
            return true;
        }
    }
    for (const auto& e : m_edges) {
        const int s1 = segment.Side(e->GetA()->X(), e->GetA()->Y());
        const int s2 = segment.Side(e->GetB()->X(), e->GetB()->Y());
        const int s3 = e->Side(from->X(), from->Y());
        const int s4 = e->Side(to->X(), to->Y());
        if (s1 * s2 < 0 && s3 * s4 < 0) {
            return true;
        }
    }
    return false;
}

CMeshEdge* CMeshBuilder::NewEdge(CMeshVertex* a, CMeshVertex* b) {
    m_edges.push_back(std::make_unique<CMeshEdge>(a, b));
    CMeshEdge* edge = m_edges.back().get();
    a->InsertEdge(edge, true);
    b->InsertEdge(edge, true);
    m_front.push_back(edge);
    return edge;
}

CMeshEdge* CMeshBuilder::EdgeBetween(CMeshVertex* a, CMeshVertex* b) {
    CMeshEdge* existing = a->FindEdgeTo(b);
    return existing != nullptr ? existing : NewEdge(a, b);
}

void CMeshBuilder::AddTriangle(const Corners& corners) {
    std::array<CMeshEdge*, 3> edges{};
    for (int i = 0; i < 3; ++i) {
        edges[i] = EdgeBetween(corners[i], corners[(i + 1) % 3]);
    }
    m_triangles.push_back(std::make_unique<CMeshTriangle>(corners, edges));
    CMeshTriangle* triangle = m_triangles.back().get();
    for (int i = 0; i < 3; ++i) {
        corners[i]->AddTriangle(triangle);
        edges[i]->SetTriangle(SideAfter(*edges[i], corners[i]), triangle);
    }
}

CMeshTriangle* CMeshBuilder::FindContainingTriangle(double x, double y) const {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return nullptr;
    }
    for (const auto& t : m_triangles) {
        if (t->Contains(x, y)) {
            return t.get();
        }
    }
    return nullptr;
}

void CMeshBuilder::ClearVisits() {
    for (const auto& t : m_triangles) {
        t->SetVisit(0);
    }
    for (const auto& v : m_vertices) {
        v->SetVisit(0);
    }
}

std::vector<CMeshVertex*> CMeshBuilder::FindNaturalNeighbours(CMeshTriangle* start, double x, double y) {
    ClearVisits();
    std::vector<CMeshVertex*> neighbours;
    std::deque<CMeshTriangle*> work;
    auto takeCorners = [&neighbours](const CMeshTriangle& t) {
        for (int i = 0; i < 3; ++i) {
            CMeshVertex* corner = t.GetCorner(i);
            if (corner->GetVisit() == 0) {
                corner->SetVisit(1);
                neighbours.push_back(corner);
            }
        }
    };
    auto queueAcross = [&work](CMeshTriangle& t) {
        for (int i = 0; i < 3; ++i) {
            CMeshTriangle* across = t.GetEdge(i)->Across(&t);
            if (across != nullptr && across->GetVisit() == 0) {
                across->SetVisit(1);
                work.push_back(across);
            }
        }
    };
    start->SetVisit(1);
    takeCorners(*start);
    queueAcross(*start);
    while (!work.empty()) {
        CMeshTriangle* t = work.front();
        work.pop_front();
        if (t->CircleHolds(x, y)) {
            takeCorners(*t);
            queueAcross(*t);
        }
    }
    return neighbours;
}

CMeshBuilder::Polygon CMeshBuilder::CellOf(const CMeshVertex& vertex) const {
    Polygon cell;
    if (vertex.IsOnHull()) {
        cell = {{0, 0}, {m_width, 0}, {m_width, m_height}, {0, m_height}};
        for (const CMeshEdge* edge : vertex.GetEdges()) {
            cell = ClipByBisector(cell, *edge, edge->BisectorSide(vertex.X(), vertex.Y()));
        }
        return cell;
    }
    // Around an inner vertex each edge is followed, counter-clockwise, by one triangle.
    for (const CMeshEdge* edge : vertex.GetEdges()) {
        const CMeshTriangle* t = edge->GetTriangle(SideAfter(*edge, &vertex));
        cell.push_back({t->CentreX(), t->CentreY()});
    }
    return cell;
}

double CMeshBuilder::StolenArea(const CMeshVertex& neighbour,
                                const std::vector<std::unique_ptr<CMeshEdge>>& queryEdges) const {
    if (neighbour.GetEdges().size() <= 1 || queryEdges.size() <= 1) {
        return 0;
    }
    Polygon cell = CellOf(neighbour);
    for (const auto& edge : queryEdges) {
        cell = ClipByBisector(cell, *edge, edge->BisectorSide(edge->GetA()->X(), edge->GetA()->Y()));
        if (cell.empty()) {
            return 0;
        }
    }
    return FanArea(cell);
}

double CMeshBuilder::GetValueAt(double x, double y) {
    for (const auto& v : m_vertices) {
        if (!v->GetEdges().empty() && v->SquaredDistance(x, y) <= kMeshTolerance * kMeshTolerance) {
            // The query is that vertex; an edge to it would have no bisector.
            return v->GetValue();
        }
    }
    CMeshTriangle* start = FindContainingTriangle(x, y);
    if (start == nullptr) {
        return 0;
    }
    const std::vector<CMeshVertex*> neighbours = FindNaturalNeighbours(start, x, y);
    CMeshVertex query(x, y, 0, 0);
    std::vector<std::unique_ptr<CMeshEdge>> queryEdges;
    for (CMeshVertex* n : neighbours) {
        queryEdges.push_back(std::make_unique<CMeshEdge>(&query, n));
        query.InsertEdge(queryEdges.back().get(), true);
    }
    double total = 0;
    double weighted = 0;
    for (CMeshVertex* n : neighbours) {
        const double area = StolenArea(*n, queryEdges);
        if (area > 0) {
            total += area;
            weighted += area * n->GetValue();
        }
    }
    return total != 0 ? weighted / total : 0;
}

double CMeshBuilder::GetLinearValueAt(double x, double y) const {
    const CMeshTriangle* t = FindContainingTriangle(x, y);
    return t != nullptr ? t->LinearValueAt(x, y) : 0;
}
