// Raster thumbnails decoded ahead on the pool's helpers are the ones the
// task thread would have made itself, whatever the order of asking.
#include "tests/support/gtest.h"

#include <stdlib.h>

#include <string>
#include <vector>

#include "core/file_types.h"
#include "drawing/thumbnails/raster_thumbnail.h"
#include "drawing/thumbnails/task_raster_pool.h"
#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"

namespace {

// The BMP file image as bytes (its size from its own header), then freed.
std::string TakeBytes(BYTE* picture)
{
    if (!picture)
        return std::string();
    std::string bytes(reinterpret_cast<const char*>(picture), GetU32LE(picture + 2));
    free(picture);
    return bytes;
}

TEST(TaskRasterPoolTest, PicturesMadeAheadAreTheOnesMadeInPlace)
{
    const std::string folder = testfiles::ToWinePath(THUMB_INPUTS) + "\\";
    const struct {
        const char* name;
        int32_t kind;
    } files[] = {{"big.png", FILEKIND_PNG},   {"small.bmp", FILEKIND_BMP}, {"photo.jpg", FILEKIND_JPEG},
                 {"checker.png", FILEKIND_PNG}, {"broken.png", FILEKIND_PNG}};
    std::vector<TTaskRasterPool::Request> requests;
    std::vector<std::string> inPlace;
    for (const auto& file : files) {
        requests.push_back(TTaskRasterPool::Request{&file, (folder + file.name).c_str(), file.kind, 160, 120, true});
        inPlace.push_back(TakeBytes(MakeRasterThumbnail(requests.back().path, file.kind, 160, 120, true)));
    }
    // A picture at all for every file but the broken one.
    for (size_t i = 0; i + 1 < inPlace.size(); ++i)
        EXPECT_GT(inPlace[i].size(), 54u) << files[i].name;
    EXPECT_TRUE(inPlace.back().empty());

    TTaskRasterPool pool(3);
    ASSERT_EQ(3, pool.GetHelperCount());
    const volatile BYTE keepWaiting = 0;
    pool.Ahead(requests);
    // The view moved on: the first file is no longer asked for ahead, and
    // is made in place when its turn comes after all.
    pool.Ahead(std::vector<TTaskRasterPool::Request>(requests.begin() + 1, requests.end()));
    for (size_t i = 0; i < requests.size(); ++i)
        EXPECT_EQ(inPlace[i], TakeBytes(pool.Make(requests[i], keepWaiting))) << files[i].name;
    // Another box size is another picture.
    TTaskRasterPool::Request smaller = requests[0];
    smaller.boxWidth = 40;
    smaller.boxHeight = 30;
    pool.Ahead({requests[0]});
    const std::string shrunk = TakeBytes(pool.Make(smaller, keepWaiting));
    ASSERT_GT(shrunk.size(), 54u);
    EXPECT_EQ(40u, GetU32LE(reinterpret_cast<const uint8_t*>(shrunk.data()) + 18));
    pool.Clear();
}

}  // namespace
