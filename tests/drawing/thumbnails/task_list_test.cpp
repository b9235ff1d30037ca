// The task list's search order (from the first row in view, wrapping round)
// and the hand-over of finished thumbnails.
#include "tests/support/gtest.h"

#include <vector>

#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_list.h"
#include "graphics/kbmp.h"

namespace {

TEST(TaskListTest, SearchesStartAtTheRowInViewAndWrapRound)
{
    TTaskList list;
    EXPECT_EQ(-1, list.FindNextPending(0));
    EXPECT_EQ(-1, list.FindNextToRender(-1));
    EXPECT_EQ(nullptr, list.FindFinished());
    EXPECT_EQ(-1, list.Add(nullptr));

    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(i, list.Add(new TTask("x", i, i % 2 == 0, 9)));
    EXPECT_EQ(2, list.FindNextPending(1));
    EXPECT_EQ(1, list.FindNextToRender(-1));
    EXPECT_EQ(5, list.FindNextToRender(99));  // clamped to the last task
    EXPECT_EQ(0, list.FindNextPending(99));   // and wrapped round
    list.MarkDone(list.GetAt(0), TASK_RESULT_MADE);
    EXPECT_EQ(4, list.FindNextPending(3));
    list.MarkDone(list.GetAt(4), TASK_RESULT_MADE);
    EXPECT_EQ(2, list.FindNextPending(3));
    EXPECT_EQ(1, list.FindNextToRender(0));
    for (int i : {1, 3, 5})
        list.MarkDone(list.GetAt(i), TASK_RESULT_MADE);
    EXPECT_EQ(-1, list.FindNextToRender(0));
}

TEST(TaskListTest, TheTasksAfterOneComeInTheSearchOrder)
{
    TTaskList list;
    std::vector<TTask*> out;
    list.CollectToRender(0, 0, 8, 8, out);
    EXPECT_TRUE(out.empty());
    for (int i = 0; i < 8; ++i)
        list.Add(new TTask("x", i, i == 6, 9));
    list.MarkDone(list.GetAt(1), TASK_RESULT_MADE);
    // From the row in view (3) on: after 4 come 5 and 7 (6 waits for the
    // quick pass), then round to 0 and 2 (1 is done).
    list.CollectToRender(3, 4, 8, 8, out);
    std::vector<TTask*> expected = {list.GetAt(5), list.GetAt(7), list.GetAt(0), list.GetAt(2)};
    EXPECT_EQ(expected, out);
    // At most so many, among so few following tasks.
    out.clear();
    list.CollectToRender(3, 4, 8, 2, out);
    EXPECT_EQ(2u, out.size());
    out.clear();
    list.CollectToRender(3, 4, 3, 8, out);
    expected = {list.GetAt(5), list.GetAt(7)};
    EXPECT_EQ(expected, out);
    // The last task in the search order has nothing after it.
    out.clear();
    list.CollectToRender(3, 2, 8, 8, out);
    EXPECT_TRUE(out.empty());
}

TEST(TaskListTest, AFinishedThumbnailLeavesTheListOnce)
{
    TTaskList list;
    TTask* task = new TTask("a.png", 7, false, 9);
    list.Add(task);
    list.Add(new TTask("b.png", 8, false, 9));
    task->PrepareThumbnail(20, 10);
    KBMP* thumbnail = task->thumbnail;
    EXPECT_TRUE(list.MarkDone(task, TASK_RESULT_FAILED));
    // One notice at a time: the next comes after the window found none left.
    EXPECT_FALSE(list.MarkDone(list.GetAt(1), TASK_RESULT_MADE));

    TTaskResult result;
    ASSERT_TRUE(list.TakeFinished(result));
    EXPECT_EQ(7, result.itemValue);
    EXPECT_EQ(TASK_RESULT_FAILED, result.result);
    EXPECT_EQ(thumbnail, result.thumbnail);
    EXPECT_EQ(nullptr, task->thumbnail);
    delete result.thumbnail;
    ASSERT_TRUE(list.TakeFinished(result));
    EXPECT_EQ(8, result.itemValue);
    EXPECT_EQ(nullptr, result.thumbnail);
    EXPECT_FALSE(list.TakeFinished(result));
    list.Add(new TTask("c.png", 9, false, 9));
    EXPECT_TRUE(list.MarkDone(list.GetAt(2), TASK_RESULT_MADE));

    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(0, list.Add(new TTask));
    EXPECT_EQ(-1, list.GetAt(0)->itemValue);
}

}  // namespace
