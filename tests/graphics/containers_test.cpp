#include "tests/support/gtest.h"

#include <vector>

#include "graphics/containers.h"
#include "graphics/ktype.h"

namespace {

// Counts live instances, to see that the lists destroy what they hold.
struct Tracked {
    static int live;
    int value;
    Tracked(int v = 0) : value(v) { ++live; }
    Tracked(const Tracked& other) : value(other.value) { ++live; }
    Tracked& operator=(const Tracked&) = default;
    ~Tracked() { --live; }
};
int Tracked::live = 0;

std::vector<int> Values(OLinkedList<int>& list)
{
    std::vector<int> values;
    for (int* v = list.First(); v; v = list.Next())
        values.push_back(*v);
    return values;
}

TEST(OListTest, AppendKeepsOrderAndPutsTheCursorOnTheFirstNode)
{
    OList<int> list;
    EXPECT_EQ(nullptr, list.Current());
    *list.AppendNew() = 1;
    EXPECT_EQ(1, *list.Current());
    list.Append(2);
    list.Append(3);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(list));
    EXPECT_EQ(1, *list.GetHead());
    EXPECT_EQ(3, *list.GetTail());
}

TEST(OListTest, RemoveTailOfOneNodeEmptiesTheList)
{
    OList<int> list;
    list.Append(7);
    list.RemoveTail();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetHead());
    EXPECT_EQ(nullptr, list.GetTail());
    EXPECT_EQ(nullptr, list.Current());
    list.RemoveTail();   // on an empty list: nothing
    list.RemoveHead();
    EXPECT_EQ(0, list.GetCount());
}

TEST(OListTest, RemovingUnderTheCursorMovesIt)
{
    OList<int> list;
    for (int i = 1; i <= 4; ++i)
        list.Append(i);
    list.First();
    list.Next();
    list.Next();
    list.Next();   // cursor on 4
    list.RemoveTail();
    EXPECT_EQ(3, *list.Current());
    list.First();   // cursor on 1
    list.RemoveHead();
    EXPECT_EQ(2, *list.Current());
    EXPECT_EQ(std::vector<int>({2, 3}), Values(list));
    list.Append(9);
    EXPECT_EQ(std::vector<int>({2, 3, 9}), Values(list));
}

TEST(OListTest, AssignAndAppendAllCopyAndSurviveSelf)
{
    OList<int> a, b;
    a.Append(1);
    a.Append(2);
    b.Append(5);
    b.Assign(a);
    EXPECT_EQ(std::vector<int>({1, 2}), Values(b));
    b.AppendAll(a);
    EXPECT_EQ(std::vector<int>({1, 2, 1, 2}), Values(b));
    a.Assign(a);
    EXPECT_EQ(std::vector<int>({1, 2}), Values(a));
    a.AppendAll(a);
    EXPECT_EQ(std::vector<int>({1, 2, 1, 2}), Values(a));
    OList<int> empty;
    empty.AppendAll(empty);
    EXPECT_EQ(0, empty.GetCount());
}

TEST(OListTest, AssignLeavesTheSourceCursorWhereItWas)
{
    OList<int> a, b;
    a.Append(1);
    a.Append(2);
    a.First();
    a.Next();
    b.Assign(a);
    EXPECT_EQ(2, *a.Current());
}

TEST(OListTest, ValuesAreDestroyedByRemoveAllAndTheDestructor)
{
    {
        OArray<Tracked> list;
        for (int i = 0; i < 5; ++i)
            list.Append(Tracked(i));
        EXPECT_EQ(5, Tracked::live);
        list.RemoveHead();
        list.RemoveTail();
        EXPECT_EQ(3, Tracked::live);
        list.RemoveAll();
        EXPECT_EQ(0, Tracked::live);
        list.Append(Tracked(1));
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST(OListTest, NestedListsCopyDeeply)
{
    OList<OBuffer<KType::RPoint2D>> polylines;
    OBuffer<KType::RPoint2D>* line = polylines.AppendNew();
    ASSERT_TRUE(line->Alloc(2));
    (*line)[1] = KType::RPoint2D{3.0f, 4.0f};
    OList<OBuffer<KType::RPoint2D>> copy(polylines);
    polylines.RemoveAll();
    ASSERT_EQ(1, copy.GetCount());
    EXPECT_EQ(2u, copy.GetHead()->GetCount());
    EXPECT_EQ(4.0f, (*copy.GetHead())[1].y);
}

TEST(OListTest, MaxCountIsKeptForItsOwner)
{
    OList<int> views;
    EXPECT_EQ(0, views.GetMaxCount());
    views.SetMaxCount(50);
    EXPECT_EQ(50, views.GetMaxCount());
}

TEST(OBufferTest, AllocClearAndCopy)
{
    OBuffer<int> buffer;
    EXPECT_FALSE(buffer.Alloc(0));
    EXPECT_EQ(0u, buffer.GetCount());
    ASSERT_TRUE(buffer.Alloc(3));
    EXPECT_EQ(0, buffer[2]);
    buffer[2] = 8;
    OBuffer<int> copy;
    copy = buffer;
    buffer.Clear();
    EXPECT_EQ(nullptr, buffer.GetData());
    EXPECT_EQ(0u, buffer.GetCount());
    EXPECT_EQ(8, copy[2]);
}

}  // namespace
