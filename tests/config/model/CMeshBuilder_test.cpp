// The planar mesh: the behaviour the folding relies on, and properties of the
// triangulation and the natural-neighbour values over random, lattice, cocircular and
// border point sets, where ties in the circle test once let triangles overlap.
#include "config/CMeshBuilder.h"

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include <gtest/gtest.h>

namespace {

constexpr double kSize = 500.0;

struct DataPoint {
    double x;
    double y;
    double value;
};

double TriangleArea(const CMeshTriangle& t) {
    const CMeshVertex* a = t.GetCorner(0);
    const CMeshVertex* b = t.GetCorner(1);
    const CMeshVertex* c = t.GetCorner(2);
    return ((b->X() - a->X()) * (c->Y() - a->Y()) - (c->X() - a->X()) * (b->Y() - a->Y())) / 2;
}

bool OnBorder(const CMeshVertex& v) {
    return v.X() == 0 || v.Y() == 0 || v.X() == kSize || v.Y() == kSize;
}

// Both ends on the same side of the rectangle.
bool AlongBorder(const CMeshEdge& e) {
    const CMeshVertex& a = *e.GetA();
    const CMeshVertex& b = *e.GetB();
    return (a.X() == 0 && b.X() == 0) || (a.Y() == 0 && b.Y() == 0) || (a.X() == kSize && b.X() == kSize) ||
           (a.Y() == kSize && b.Y() == kSize);
}

// The seeds, the points, and the built mesh.
void BuildSeeded(CMeshBuilder& mesh, const std::vector<DataPoint>& points) {
    ASSERT_TRUE(mesh.SetArea(kSize, kSize));
    mesh.SeedBorder();
    for (const DataPoint& p : points) {
        mesh.AddPoint(p.x, p.y, p.value, 0);
    }
    mesh.Build();
}

// Triangles cover the rectangle once, counter-clockwise, edge sides hold one triangle
// each, and no vertex lies inside a triangle's circumcircle.
void ExpectSoundTriangulation(const CMeshBuilder& mesh) {
    const auto& vertices = mesh.GetVertices();
    double area = 0;
    for (const auto& t : mesh.GetTriangles()) {
        const double a = TriangleArea(*t);
        EXPECT_GT(a, 0) << "corners run counter-clockwise";
        area += a;
        for (int i = 0; i < 3; ++i) {
            const CMeshEdge* e = t->GetEdge(i);
            const int side = e->GetA() == t->GetCorner(i) ? 1 : -1;
            EXPECT_EQ(e->GetTriangle(side), t.get()) << "edge " << i << " knows its triangle";
        }
        for (const auto& v : vertices) {
            const double slack = 1e-6 * t->SquaredRadius();
            EXPECT_GE(v->SquaredDistance(t->CentreX(), t->CentreY()), t->SquaredRadius() - slack)
                << "vertex (" << v->X() << ", " << v->Y() << ") inside a circumcircle";
        }
    }
    EXPECT_NEAR(area, kSize * kSize, 1e-6 * kSize * kSize);
    for (const auto& e : mesh.GetEdges()) {
        const int sides = (e->GetTriangle(1) != nullptr) + (e->GetTriangle(-1) != nullptr);
        EXPECT_EQ(sides, AlongBorder(*e) ? 1 : 2);
    }
    int border = 0;
    for (const auto& v : vertices) {
        border += OnBorder(*v);
    }
    const int n = static_cast<int>(vertices.size());
    EXPECT_EQ(static_cast<int>(mesh.GetTriangles().size()), 2 * n - 2 - border);
}

std::vector<DataPoint> RandomPoints(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> place(1.0, kSize - 1.0);
    std::uniform_real_distribution<double> value(-100.0, 100.0);
    std::vector<DataPoint> points;
    for (int i = 0; i < count; ++i) {
        points.push_back({place(random), place(random), value(random)});
    }
    return points;
}

// The real use: map breakpoints fall on a lattice inside 50..450.
std::vector<DataPoint> LatticePoints(int columns, int rows, const std::function<double(double, double)>& f) {
    std::vector<DataPoint> points;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const double x = 50 + 400.0 * c / std::max(1, columns - 1);
            const double y = 50 + 400.0 * r / std::max(1, rows - 1);
            points.push_back({x, y, f(x, y)});
        }
    }
    return points;
}

std::vector<DataPoint> RingPoints(int count, double radius, double value) {
    std::vector<DataPoint> points;
    for (int i = 0; i < count; ++i) {
        const double angle = 2 * 3.14159265358979323846 * i / count;
        points.push_back({250 + radius * std::cos(angle), 250 + radius * std::sin(angle), value + i});
    }
    return points;
}

TEST(MeshBuilder, SeedsAloneGiveZeroEverywhere) {
    CMeshBuilder mesh;
    BuildSeeded(mesh, {});
    EXPECT_EQ(mesh.GetVertices().size(), 12u);
    ExpectSoundTriangulation(mesh);
    for (double x = 0; x <= kSize; x += 62.5) {
        for (double y = 0; y <= kSize; y += 62.5) {
            EXPECT_EQ(mesh.GetValueAt(x, y), 0.0) << x << ", " << y;
        }
    }
}

TEST(MeshBuilder, OnePointCarriesItsValueToTheWholeRectangle) {
    CMeshBuilder mesh;
    BuildSeeded(mesh, {{250, 250, 20}});
    for (const auto& v : mesh.GetVertices()) {
        EXPECT_EQ(v->GetValue(), 20.0);
    }
    for (double x = 0; x <= kSize; x += 50) {
        for (double y = 0; y <= kSize; y += 50) {
            EXPECT_NEAR(mesh.GetValueAt(x, y), 20.0, 1e-9) << x << ", " << y;
        }
    }
}

TEST(MeshBuilder, SeedsTakeTheNearestDataPointFirstOnTies) {
    CMeshBuilder mesh;
    ASSERT_TRUE(mesh.SetArea(kSize, kSize));
    mesh.SeedBorder();
    mesh.AddPoint(100, 250, 7, 0);
    mesh.AddPoint(400, 250, 9, 0);
    mesh.AddPoint(250, 100, 5, 0);
    const auto& v = mesh.GetVertices();
    EXPECT_EQ(v[0]->GetValue(), 5.0) << "(W/3, 0) is nearest to (250, 100)";
    EXPECT_EQ(v[3]->GetValue(), 9.0) << "(W, H/3) is nearest to (400, 250)";
    EXPECT_EQ(v[10]->GetValue(), 7.0) << "(0, H/3) is nearest to (100, 250)";
    EXPECT_EQ(v[11]->GetValue(), 7.0) << "(0, 0) is as far from (250, 100): the first point stays";

    // A seed added after the data points looks for its nearest one itself.
    CMeshBuilder late;
    ASSERT_TRUE(late.SetArea(kSize, kSize));
    late.AddPoint(200, 250, 1, 0);
    late.AddPoint(300, 250, 2, 0);
    CMeshVertex* seed = late.AddPoint(250, 0, 0, 1);
    ASSERT_NE(seed, nullptr);
    EXPECT_EQ(seed->GetValue(), 1.0);
    EXPECT_EQ(late.AddPoint(0, 0, 0, 1)->GetValue(), 1.0);
    EXPECT_EQ(late.AddPoint(500, 500, 0, 1)->GetValue(), 2.0);
}

TEST(MeshBuilder, RefusesPointsOutsideTheRectangleAndBadAreas) {
    CMeshBuilder mesh;
    ASSERT_TRUE(mesh.SetArea(kSize, kSize));

    const struct {
        double x, y, value;
    } refused[] = {{-1, 10, 0},  {10, -1e-12, 0}, {500.001, 10, 0},
                   {10, 501, 0}, {NAN, 10, 0},    {10, 10, INFINITY}};

    for (const auto& p : refused) {
        EXPECT_EQ(mesh.AddPoint(p.x, p.y, p.value, 0), nullptr) << p.x << ", " << p.y << ", " << p.value;
    }
    EXPECT_TRUE(mesh.GetVertices().empty());
    ASSERT_NE(mesh.AddPoint(0, 500, 1, 0), nullptr);
    EXPECT_EQ(mesh.AddPoint(0, 500, 2, 0), nullptr) << "a point on another has no edge to it";

    const struct {
        double width, height;
    } areas[] = {{0, 500}, {500, 0}, {-1, 500}, {NAN, 500}, {INFINITY, 500}};

    for (const auto& a : areas) {
        EXPECT_FALSE(mesh.SetArea(a.width, a.height));
        EXPECT_EQ(mesh.GetWidth(), kSize);
        EXPECT_EQ(mesh.GetHeight(), kSize);
    }
}

TEST(MeshBuilder, TooFewOrCollinearPointsBuildNothing) {
    const std::vector<std::vector<DataPoint>> sets = {
        {},
        {{1, 1, 1}},
        {{1, 1, 1}, {2, 2, 2}},
        {{0, 0, 1}, {100, 100, 2}, {200, 200, 3}, {300, 300, 4}},
        {{10, 5, 1}, {20, 5, 2}, {30, 5 + 1e-9, 3}},
    };
    for (const auto& set : sets) {
        CMeshBuilder mesh;
        ASSERT_TRUE(mesh.SetArea(kSize, kSize));
        for (const DataPoint& p : set) {
            mesh.AddPoint(p.x, p.y, p.value, 0);
        }
        mesh.Build();
        EXPECT_TRUE(mesh.GetTriangles().empty()) << set.size() << " points";
        EXPECT_EQ(mesh.GetValueAt(50, 50), 0.0);
        EXPECT_FALSE(mesh.Step());
    }
}

TEST(MeshBuilder, TriangulationIsSoundForRandomLatticeCocircularAndBorderPoints) {
    std::mt19937 random(20240506);
    std::vector<std::pair<std::string, std::vector<DataPoint>>> sets;
    for (int i = 0; i < 40; ++i) {
        sets.push_back({"random " + std::to_string(i), RandomPoints(random, 1 + i % 30)});
    }
    const auto plane = [](double x, double y) { return 0.1 * x - 0.05 * y + 3; };
    sets.push_back({"lattice 8 x 6", LatticePoints(8, 6, plane)});
    sets.push_back({"lattice 16 x 16", LatticePoints(16, 16, plane)});
    sets.push_back({"lattice 2 x 2", LatticePoints(2, 2, plane)});
    sets.push_back({"one column", LatticePoints(1, 9, plane)});
    sets.push_back({"ring of 8", RingPoints(8, 120, 0)});
    sets.push_back({"ring of 24 and centre", RingPoints(24, 200, 0)});
    sets.back().second.push_back({250, 250, 50});
    sets.push_back(
        {"on the border", {{0, 250, 1}, {250, 0, 2}, {500, 400, 3}, {123, 500, 4}, {250, 250, 5}}});
    for (const auto& set : sets) {
        SCOPED_TRACE(set.first);
        CMeshBuilder mesh;
        BuildSeeded(mesh, set.second);
        ExpectSoundTriangulation(mesh);
    }
}

TEST(MeshBuilder, ValuesStayWithinThePointsAndMeetThemAtThePoints) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0.0, kSize);
    for (int round = 0; round < 15; ++round) {
        SCOPED_TRACE(round);
        const std::vector<DataPoint> points =
            round == 0
                ? LatticePoints(6, 5, [](double x, double y) { return std::fmod(x * 7 + y, 41.0) - 20; })
                : RandomPoints(random, 2 + round * 2);
        CMeshBuilder mesh;
        BuildSeeded(mesh, points);
        double low = 0;
        double high = 0;
        for (const DataPoint& p : points) {
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
        for (int q = 0; q < 200; ++q) {
            const double value = mesh.GetValueAt(place(random), place(random));
            EXPECT_GE(value, low - 1e-9);
            EXPECT_LE(value, high + 1e-9);
        }
        for (const DataPoint& p : points) {
            EXPECT_EQ(mesh.GetValueAt(p.x, p.y), p.value) << p.x << ", " << p.y;
        }
    }
}

TEST(MeshBuilder, InnerValuesReproduceALinearField) {
    const auto field = [](double x, double y) { return 0.3 * x - 0.2 * y + 11; };
    std::mt19937 random(11);
    std::uniform_real_distribution<double> jitter(-20.0, 20.0);
    for (bool jittered : {false, true}) {
        SCOPED_TRACE(jittered ? "jittered lattice" : "square lattice");
        CMeshBuilder mesh;
        ASSERT_TRUE(mesh.SetArea(kSize, kSize));
        for (int i = 0; i <= 5; ++i) {
            for (int j = 0; j <= 5; ++j) {
                const bool border = i == 0 || j == 0 || i == 5 || j == 5;
                const double x = 100.0 * i + (border || !jittered ? 0 : jitter(random));
                const double y = 100.0 * j + (border || !jittered ? 0 : jitter(random));
                ASSERT_NE(mesh.AddPoint(x, y, field(x, y), 0), nullptr);
            }
        }
        mesh.Build();
        std::uniform_real_distribution<double> inner(170.0, 330.0);
        for (int q = 0; q < 100; ++q) {
            const double x = inner(random);
            const double y = inner(random);
            EXPECT_NEAR(mesh.GetValueAt(x, y), field(x, y), 1e-6) << x << ", " << y;
        }
    }
}

TEST(MeshBuilder, RebuildingGivesTheSameSurface) {
    std::mt19937 random(3);
    const std::vector<DataPoint> points = RandomPoints(random, 25);
    CMeshBuilder first;
    BuildSeeded(first, points);
    std::vector<double> values;
    for (double x = 0; x <= kSize; x += 25) {
        values.push_back(first.GetValueAt(x, 500 - x / 2));
    }
    first.Build();
    CMeshBuilder second;
    BuildSeeded(second, points);
    std::size_t i = 0;
    for (double x = 0; x <= kSize; x += 25, ++i) {
        EXPECT_EQ(first.GetValueAt(x, 500 - x / 2), values[i]);
        EXPECT_EQ(second.GetValueAt(x, 500 - x / 2), values[i]);
    }
}

TEST(MeshBuilder, QueriesOutsideTheMeshGiveZero) {
    CMeshBuilder mesh;
    BuildSeeded(mesh, {{250, 250, 20}});

    const struct { double x, y; } outside[] = {{-1, 250}, {250, 500.5}, {1e9, 1e9}, {NAN, 3}};

    for (const auto& q : outside) {
        EXPECT_EQ(mesh.GetValueAt(q.x, q.y), 0.0) << q.x << ", " << q.y;
        EXPECT_EQ(mesh.GetLinearValueAt(q.x, q.y), 0.0) << q.x << ", " << q.y;
    }
    EXPECT_NEAR(mesh.GetLinearValueAt(250, 260), 20.0, 1e-9);
}

}  // namespace

TEST(MeshBuilder, ARemovedTriangleLeavesTheMeshAndIsBuiltAgain) {
    std::mt19937 random(5);
    CMeshBuilder mesh;
    BuildSeeded(mesh, RandomPoints(random, 12));
    const std::size_t triangles = mesh.GetTriangles().size();
    ASSERT_GT(triangles, 3u);
    std::vector<double> values;
    for (double x = 0; x <= kSize; x += 50) {
        values.push_back(mesh.GetValueAt(x, kSize - x / 3));
    }

    for (int removed = 0; removed < 3; ++removed) {
        const CMeshTriangle* last = mesh.GetTriangles().back().get();
        ASSERT_TRUE(mesh.RemoveLastTriangle());
        for (const auto& v : mesh.GetVertices()) {
            for (const CMeshTriangle* t : v->GetTriangles()) {
                EXPECT_NE(last, t);
            }
        }
        for (const auto& e : mesh.GetEdges()) {
            EXPECT_NE(last, e->GetTriangle(1));
            EXPECT_NE(last, e->GetTriangle(-1));
        }
    }
    EXPECT_EQ(triangles - 3, mesh.GetTriangles().size());

    while (mesh.Step()) {
    }
    EXPECT_EQ(triangles, mesh.GetTriangles().size());
    ExpectSoundTriangulation(mesh);
    std::size_t i = 0;
    for (double x = 0; x <= kSize; x += 50, ++i) {
        EXPECT_NEAR(values[i], mesh.GetValueAt(x, kSize - x / 3), 1e-9);
    }

    CMeshBuilder empty;
    EXPECT_FALSE(empty.RemoveLastTriangle());
}

TEST(MeshBuilder, ACopyStandsOnItsOwnAndGivesTheSameSurface) {
    std::mt19937 random(7);
    const std::vector<DataPoint> points = RandomPoints(random, 15);
    auto source = std::make_unique<CMeshBuilder>();
    BuildSeeded(*source, points);
    std::vector<double> values;
    for (double x = 0; x <= kSize; x += 40) {
        values.push_back(source->GetValueAt(x, x / 2 + 100));
    }
    CMeshBuilder copy;
    copy.CopyFrom(*source);
    source.reset();  // the copy must not point into the original

    ExpectSoundTriangulation(copy);
    std::size_t i = 0;
    for (double x = 0; x <= kSize; x += 40, ++i) {
        EXPECT_EQ(values[i], copy.GetValueAt(x, x / 2 + 100));
    }
    ASSERT_TRUE(copy.RemoveLastTriangle());
    while (copy.Step()) {
    }
    ExpectSoundTriangulation(copy);
}
