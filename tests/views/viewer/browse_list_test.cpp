// View mode over the browser's file list: the selected file opens, and the
// next and previous drawing or image of the list follow by command and by
// Ctrl with the wheel.
#include "tests/views/viewer/viewer_harness.h"

#include <vector>

#include "core/appsw.h"
#include "resources/views_ids.h"
#include "views/common/view_browser.h"

using viewtest::ViewerTest;

namespace {

// The browser's list: test files, one of them selected.
class FileListStandIn : public IViewBrowser {
public:
    explicit FileListStandIn(std::vector<std::string> names)
    {
        for (const std::string& name : names)
            paths.push_back(drawtest::Fixture(name.c_str()));
    }

    bool GetSelectedFile(CString& path, int& kind) override
    {
        path = paths[selected].c_str();
        kind = -1;
        return true;
    }
    bool HasNextDrawing() override { return selected + 1 < paths.size(); }
    bool HasPreviousDrawing() override { return selected > 0; }
    bool SelectNextDrawing(CString& path, int& kind) override { return Select(selected + 1, path, kind); }
    bool SelectPreviousDrawing(CString& path, int& kind) override { return Select(selected - 1, path, kind); }
    BOOL OnDeviceChange(UINT, DWORD_PTR) override { return TRUE; }
    void ShowFileProperties(const char*, const DRAWINGINFO&) override {}
    bool ShowExif(const char*) override { return false; }
    void RegenerateSelectedThumbnails() override {}

    std::vector<std::string> paths;
    size_t selected = 0;

private:
    bool Select(size_t index, CString& path, int& kind)
    {
        if (index >= paths.size())
            return false;
        selected = index;
        AppSW.SetViewPath(paths[index].c_str());
        return GetSelectedFile(path, kind);
    }
};

class BrowseListTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        SetViewBrowser(&m_list);
    }
    void TearDown() override
    {
        SetViewBrowser(NULL);
        ViewerTest::TearDown();
    }
    std::string HeldFile() { return (const char*)m_thread->GetFilePath(); }

    FileListStandIn m_list{{"square.dxf", "picture.png", "cube.dxf"}};
};

}  // namespace

TEST_F(BrowseListTest, NextAndPreviousFileStepThroughTheList)
{
    AppSW.SetViewPath(m_list.paths[0].c_str());
    View()->OpenSelectedListFile();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(m_list.paths[0], HeldFile());

    Command(ID_NEXT_FILE);
    EXPECT_EQ(m_list.paths[1], HeldFile());
    EXPECT_LT(3, m_thread->GetFileKind());
    CString title;
    m_frame->GetWindowText(title);
    EXPECT_NE(-1, title.Find(m_list.paths[1].c_str()));

    // Ctrl with the wheel: several notches queued at once switch the file
    // once; towards the user is the next file.
    POINT screen = {100, 100};
    ClientToScreen(ViewWindow(), &screen);
    for (int i = 0; i < 3; ++i)
        m_frame->PostMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), MAKELPARAM(screen.x, screen.y));
    Settle();
    EXPECT_EQ(2u, m_list.selected);
    EXPECT_EQ(m_list.paths[2], HeldFile());

    Command(ID_PREVIOUS_FILE);
    Command(ID_PREVIOUS_FILE);
    EXPECT_EQ(m_list.paths[0], HeldFile());
    EXPECT_TRUE(m_thread->HasDrawing());
}
