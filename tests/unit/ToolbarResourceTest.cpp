#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "controls/ImageMapping.h"
#include "controls/ToolbarResource.h"

namespace {

std::vector<uint8_t> Resource(std::vector<unsigned> words)
{
    std::vector<uint8_t> bytes;
    for (unsigned w : words) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
    return bytes;
}

// The program's own toolbar: restart, sleep, shut down, log off, a
// separator, about, exit.
const std::vector<unsigned> kProgramToolbar = {1, 16, 16, 7, 32772, 32771, 32773, 32774, 0, 57664, 57665};

TEST(ToolbarResource, ParsesTheProgramsToolbarFromUnalignedData)
{
    std::vector<uint8_t> bytes = Resource(kProgramToolbar);
    // One byte in, so every 16-bit field sits on an odd address.
    bytes.insert(bytes.begin(), 0xEE);
    ToolbarResource toolbar = {};
    ASSERT_TRUE(ParseToolbarResource(bytes.data() + 1, bytes.size() - 1, &toolbar));
    EXPECT_EQ(toolbar.width, 16);
    EXPECT_EQ(toolbar.height, 16);
    EXPECT_EQ(toolbar.commandIds, (std::vector<uint32_t>{32772, 32771, 32773, 32774, 0, 57664, 57665}));
}

TEST(ToolbarResource, RejectsEveryTruncationAndLeavesTheResultAlone)
{
    std::vector<uint8_t> bytes = Resource(kProgramToolbar);
    for (size_t size = 0; size < bytes.size(); ++size) {
        // An exact-size copy, so AddressSanitizer sees any read past the end.
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        ToolbarResource toolbar = {7, 9, {1, 2}};
        EXPECT_FALSE(ParseToolbarResource(cut.data(), cut.size(), &toolbar)) << size << " bytes";
        EXPECT_EQ(toolbar.width, 7);
        EXPECT_EQ(toolbar.commandIds.size(), 2u);
    }
    EXPECT_FALSE(ParseToolbarResource(nullptr, 100, nullptr));
}

TEST(ToolbarResource, ZeroButtonsIsAnEmptyToolbarAndTrailingBytesAreIgnored)
{
    std::vector<uint8_t> bytes = Resource({1, 20, 18, 0, 0xBEEF});
    ToolbarResource toolbar = {0, 0, {5}};
    ASSERT_TRUE(ParseToolbarResource(bytes.data(), bytes.size(), &toolbar));
    EXPECT_EQ(toolbar.width, 20);
    EXPECT_EQ(toolbar.height, 18);
    EXPECT_TRUE(toolbar.commandIds.empty());
}

TEST(ToolbarResource, RejectsOtherVersionsAndAnEmptyButtonSize)
{
    for (std::vector<unsigned> words : std::vector<std::vector<unsigned>>{
             {0, 16, 16, 1, 5}, {2, 16, 16, 1, 5}, {0x0100, 16, 16, 1, 5}, {1, 0, 16, 1, 5}, {1, 16, 0, 1, 5}}) {
        std::vector<uint8_t> bytes = Resource(words);
        ToolbarResource toolbar = {};
        EXPECT_FALSE(ParseToolbarResource(bytes.data(), bytes.size(), &toolbar))
            << words[0] << " " << words[1] << " " << words[2];
    }
}

TEST(ToolbarResource, CountLargerThanTheDataIsRejected)
{
    // 0xFFFF buttons claimed, two present.
    std::vector<uint8_t> bytes = Resource({1, 16, 16, 0xFFFF, 1, 2});
    ToolbarResource toolbar = {};
    EXPECT_FALSE(ParseToolbarResource(bytes.data(), bytes.size(), &toolbar));
}

TEST(ImageMapping, SeparatorsTakeNoPictureAndCommandsFindTheirs)
{
    std::vector<uint8_t> bytes = Resource(kProgramToolbar);
    ToolbarResource toolbar = {};
    ASSERT_TRUE(ParseToolbarResource(bytes.data(), bytes.size(), &toolbar));
    std::vector<ImageMapping> mappings;
    AddToolbarMappings(toolbar, 6, &mappings);
    ASSERT_EQ(mappings.size(), 6u);
    EXPECT_EQ(FindImageIndex(mappings, 32772), 0);
    EXPECT_EQ(FindImageIndex(mappings, 32771), 1);
    EXPECT_EQ(FindImageIndex(mappings, 32773), 2);
    EXPECT_EQ(FindImageIndex(mappings, 32774), 3);
    EXPECT_EQ(FindImageIndex(mappings, 57664), 4);
    EXPECT_EQ(FindImageIndex(mappings, 57665), 5);
    for (int none : {32775, 32779, 0, -2, 57664 + 65536})
        EXPECT_EQ(FindImageIndex(mappings, none), -1) << none;
    EXPECT_EQ(FindImageIndex({}, 32772), -1);
}

TEST(ImageMapping, FirstMappingWinsAndMissingPicturesMapNothing)
{
    ToolbarResource toolbar = {16, 16, {10, 0, 20, 10, 30}};
    std::vector<ImageMapping> mappings;
    // Three pictures in the bitmap: the fourth button has none.
    AddToolbarMappings(toolbar, 3, &mappings);
    EXPECT_EQ(mappings.size(), 3u);
    EXPECT_EQ(FindImageIndex(mappings, 10), 0);
    EXPECT_EQ(FindImageIndex(mappings, 20), 1);
    EXPECT_EQ(FindImageIndex(mappings, 30), -1);

    mappings.clear();
    AddToolbarMappings(toolbar, 0, &mappings);
    EXPECT_TRUE(mappings.empty());
}

}  // namespace
