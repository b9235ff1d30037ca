// What the view tells about its file: the image information in the status
// bar, the Exif command and the file-properties command.
#include "tests/views/viewer/viewer_harness.h"

#include <string>

#include "resources/views_ids.h"
#include "tests/support/dialog_script.h"
#include "views/common/view_browser.h"

using viewtest::ViewerTest;

namespace {

// The browser's side of the information commands, recording what it was
// asked.
class InfoBrowser : public IViewBrowser {
public:
    bool GetSelectedFile(CString&, int&) override { return false; }
    bool HasNextDrawing() override { return false; }
    bool HasPreviousDrawing() override { return false; }
    bool SelectNextDrawing(CString&, int&) override { return false; }
    bool SelectPreviousDrawing(CString&, int&) override { return false; }
    BOOL OnDeviceChange(UINT, DWORD_PTR) override { return TRUE; }
    void ShowFileProperties(const char* path, const DRAWINGINFO& info) override
    {
        propertiesPath = path;
        propertiesFormat = (const char*)info.formatText;
    }
    bool ShowExif(const char* path) override
    {
        exifPaths.push_back(path);
        return hasExif;
    }
    void RegenerateSelectedThumbnails() override {}

    bool hasExif = true;
    std::vector<std::string> exifPaths;
    std::string propertiesPath;
    std::string propertiesFormat;
};

class ViewInfoTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        SetViewBrowser(&m_browser);
    }
    void TearDown() override
    {
        SetViewBrowser(NULL);
        ViewerTest::TearDown();
    }
    // Runs the command and answers the message box it shows; its text.
    std::string MessageOf(UINT id)
    {
        std::string text;
        testwin::DialogScript script;
        script.Then(nullptr, [&text](HWND box) {
            text = testwin::GetText(box, 0xFFFF);
            testwin::Click(box, IDOK);
        });
        script.Start(5000);
        Command(id);
        EXPECT_TRUE(script.Finished());
        return text;
    }

    InfoBrowser m_browser;
};

}  // namespace

TEST_F(ViewInfoTest, AJpegsExifJoinsItsSizeInTheStatusAndTheExifCommandShowsIt)
{
    ASSERT_TRUE(Open("camera.jpg"));
    CString status = m_frame->GetStatusBar()->GetPaneText(0);
    EXPECT_EQ(0, status.Find("64x48x24b,")) << (const char*)status;
    // What the file's Exif block holds (written by the test files' script).
    EXPECT_GE(status.Find("TestCam 7"), 0) << (const char*)status;
    EXPECT_GE(status.Find("f/2.8"), 0) << (const char*)status;
    EXPECT_GE(status.Find("1/125s"), 0) << (const char*)status;

    ASSERT_TRUE(StateOf(ID_SHOW_EXIF).enabled);
    Command(ID_SHOW_EXIF);
    ASSERT_EQ(1u, m_browser.exifPaths.size());
    EXPECT_EQ(drawtest::Fixture("camera.jpg"), m_browser.exifPaths[0]);

    // A JPEG without Exif says so, with its path.
    ASSERT_TRUE(Open("picture.jpg"));
    EXPECT_EQ(0, m_frame->GetStatusBar()->GetPaneText(0).Find("64x48x24b"));
    m_browser.hasExif = false;
    EXPECT_EQ("文件: " + drawtest::Fixture("picture.jpg") + "\n\n没有Exif信息 !", MessageOf(ID_SHOW_EXIF));

    // Other images and drawings have no Exif to show.
    ASSERT_TRUE(Open("picture.png"));
    EXPECT_FALSE(StateOf(ID_SHOW_EXIF).enabled);
}

TEST_F(ViewInfoTest, ADrawingShowsItsPropertiesSheet)
{
    ASSERT_TRUE(Open("square.dxf"));
    EXPECT_FALSE(StateOf(ID_SHOW_EXIF).enabled);
    Command(ID_FILE_PROPERTIES);
    EXPECT_EQ(drawtest::Fixture("square.dxf"), m_browser.propertiesPath);
    // ezdxf wrote the drawing as AutoCAD 2000.
    EXPECT_NE(std::string::npos, m_browser.propertiesFormat.find("2000")) << m_browser.propertiesFormat;
}
