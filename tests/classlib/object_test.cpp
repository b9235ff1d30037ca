// Run-time classes: kind tests, downcasts and creation by class name.
#include "tests/support/gtest.h"

#include "platform/classlib/object.h"

namespace {

class TestShape : public CObject
{
    DECLARE_DYNCREATE(TestShape)
public:
    int sides = 0;
};

class TestSquare : public TestShape
{
    DECLARE_DYNCREATE(TestSquare)
public:
    TestSquare() { sides = 4; }
};

class TestFixed : public CObject
{
    DECLARE_DYNAMIC(TestFixed)
public:
    explicit TestFixed(int value) : value(value) {}
    int value;
};

}  // namespace

IMPLEMENT_DYNCREATE(TestShape, CObject)
IMPLEMENT_DYNCREATE(TestSquare, TestShape)
IMPLEMENT_DYNAMIC(TestFixed, CObject)

TEST(RuntimeClass, KindOfFollowsTheBaseChain)
{
    TestSquare square;
    CObject* object = &square;
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(TestSquare)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(TestShape)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(TestFixed)));
    EXPECT_EQ(&square, DYNAMIC_DOWNCAST(TestShape, object));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(TestFixed, object));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(TestFixed, (CObject*)nullptr));
    EXPECT_STREQ("TestSquare", object->GetRuntimeClass()->m_lpszClassName);
    EXPECT_FALSE(square.IsSerializable());
}

TEST(RuntimeClass, CreatesObjectsByClassName)
{
    CObject* object = CRuntimeClass::CreateObject("TestSquare");
    ASSERT_NE(nullptr, object);
    TestShape* shape = DYNAMIC_DOWNCAST(TestShape, object);
    ASSERT_NE(nullptr, shape);
    EXPECT_EQ(4, shape->sides);
    delete object;

    EXPECT_EQ(RUNTIME_CLASS(TestFixed), CRuntimeClass::FromName("TestFixed"));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(TestFixed)->CreateObject());
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("NoSuchClass"));
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
}
