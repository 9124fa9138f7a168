// Reference-image checks for pixel tests: an image drawn by the code under test is compared
// exactly with a PNG kept in the source tree (tests/golden/). On a mismatch the actual image
// and a diff image are written next to the build so that a person can look at them.
//
// After an intended change in drawing, regenerate the references by running the tests with
// ZO_UPDATE_GOLDEN=1 in the environment, e.g.
//     ZO_UPDATE_GOLDEN=1 build/default/tests/test_render
// and review the changed PNG files before committing them.
#pragma once

#include <filesystem>
#include <string>

#include "platform/Image.h"

namespace zo::plat {

// "" when both images have the same size and pixels, otherwise a short description of the
// first difference and the number of differing pixels. Alpha counts only in images with
// hasAlpha (without it every pixel is taken as opaque).
std::string DescribeImageDifference(const Image& expected, const Image& actual);

// The diff image: pixels that differ (or lie outside one of the two) in red, the others a
// dimmed copy of the actual image. Its size covers both.
Image MakeDiffImage(const Image& expected, const Image& actual);

// Compares `actual` with the PNG at referencePath. Returns "" on a match. Otherwise writes
// <outputDir>/<name>.actual.png and <name>.diff.png (name = the reference's file name without
// .png) and returns a message with the difference and those paths. With ZO_UPDATE_GOLDEN=1 it
// writes the reference instead (RGBA when the image has alpha, RGB otherwise) and returns "".
std::string CompareWithReference(const Image& actual, const std::filesystem::path& referencePath,
                                 const std::filesystem::path& outputDir);

// Whether ZO_UPDATE_GOLDEN=1 is set.
bool UpdatingGoldenImages();

}  // namespace zo::plat
