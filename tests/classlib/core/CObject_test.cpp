#include "classlib/core/CObject.h"

#include <memory>

#include <gtest/gtest.h>

class CTestCell : public CObject {
    DECLARE_DYNCREATE(CTestCell)

public:
    int m_value = 5;
};

class CTestCheckCell : public CTestCell {
    DECLARE_DYNCREATE(CTestCheckCell)
};

class CTestWindow : public CObject {
    DECLARE_DYNAMIC(CTestWindow)
};

IMPLEMENT_DYNCREATE(CTestCell, CObject)
IMPLEMENT_DYNCREATE(CTestCheckCell, CTestCell)
IMPLEMENT_DYNAMIC(CTestWindow, CObject)

TEST(CObject, KnowsItsClassAndItsBases) {
    CTestCheckCell check;
    EXPECT_STREQ("CTestCheckCell", check.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(check.IsKindOf(RUNTIME_CLASS(CTestCheckCell)));
    EXPECT_TRUE(check.IsKindOf(RUNTIME_CLASS(CTestCell)));
    EXPECT_TRUE(check.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(check.IsKindOf(RUNTIME_CLASS(CTestWindow)));
    const CObject& asObject = check;
    EXPECT_EQ(RUNTIME_CLASS(CTestCheckCell), asObject.GetRuntimeClass());
    CTestCell cell;
    EXPECT_FALSE(cell.IsKindOf(RUNTIME_CLASS(CTestCheckCell)));
    EXPECT_TRUE(RUNTIME_CLASS(CTestCheckCell)->IsDerivedFrom(RUNTIME_CLASS(CTestCell)));
}

TEST(CObject, CreatesObjectsByClass) {
    const std::unique_ptr<CObject> created(RUNTIME_CLASS(CTestCheckCell)->CreateObject());
    ASSERT_NE(nullptr, created);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CTestCheckCell)));
    EXPECT_EQ(5, static_cast<CTestCell*>(created.get())->m_value);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CTestWindow)->CreateObject());
    EXPECT_EQ(RUNTIME_CLASS(CTestCell), CRuntimeClass::FromName("CTestCell"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
}
