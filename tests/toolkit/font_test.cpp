// Fonts: finding the system fonts, loading, modes and measuring. Runs on the
// null host of both builds (under Wine the fonts come from the prefix's
// Windows font folder).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "toolkit/cpw.h"
#include "toolkit/cpw_gl.h"

namespace {

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(cpwInitContext(&cpw)); }
  void TearDown() override { cpwFreeContext(&cpw); }

  CpwFontBBox measure(CpwFontFace face, const char* text) {
    CpwFontBBox box{-1, -1, -1, -1};
    EXPECT_TRUE(cpwGetFontBBox(cpw, face, text, &box));
    return box;
  }

  pCpw cpw = nullptr;
};

// Under Wine the build folder is named with its drive letter.
bool under_wine() {
  const char* b = std::getenv("VANTYR_BINARY_DIR");
  return b && b[0] == 'Z' && b[1] == ':';
}

TEST_F(Fonts, TheWindowsFontNamesResolveToTheirMetricTwins) {
  CpwFontFace sans = cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_HOST, nullptr);
  CpwFontFace mono = cpwLoadFont(cpw, "cour.ttf", CPW_FONTLOC_HOST, nullptr);
  CpwFontFace upper = cpwLoadFont(cpw, "ARIAL.TTF", CPW_FONTLOC_HOST, nullptr);
  ASSERT_NE(sans, nullptr);
  ASSERT_NE(mono, nullptr);
  ASSERT_NE(upper, nullptr);
  EXPECT_STREQ(sans->family_name, "Liberation Sans");
  EXPECT_STREQ(mono->family_name, "Liberation Mono");
  EXPECT_STREQ(sans->style_name, "Regular");
  EXPECT_TRUE(FT_IS_FIXED_WIDTH(mono));
  EXPECT_EQ(cpwGetLastError(cpw), 0);
  EXPECT_TRUE(cpwUnloadFont(cpw, upper));
  EXPECT_FALSE(cpwUnloadFont(cpw, nullptr));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
}

TEST_F(Fonts, LoadingFailuresSayWhy) {
  EXPECT_EQ(cpwLoadFont(cpw, "nosuchfont.ttf", CPW_FONTLOC_HOST, nullptr), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_fontopen);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwLoadFont(cpw, nullptr, CPW_FONTLOC_HOST, nullptr), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwLoadFont(cpw, "arial.ttf", 3, nullptr), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_RELATIVE, nullptr), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);

  // A given folder: a file that is no font, a missing one, a real one.
  std::string folder = std::getenv("VANTYR_BINARY_DIR") ? std::getenv("VANTYR_BINARY_DIR") : ".";
  std::string bad = folder + "/not_a_font.ttf";
  FILE* f = std::fopen(bad.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("this is text, not a TrueType font\n", f);
  std::fclose(f);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwLoadFont(cpw, "not_a_font.ttf", CPW_FONTLOC_RELATIVE, folder.c_str()), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_fontformat);
  std::remove(bad.c_str());
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwLoadFont(cpw, "missing.ttf", CPW_FONTLOC_RELATIVE, folder.c_str()), nullptr);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_fontopen);
  const char* liberation =
      under_wine() ? "Z:\\usr\\share\\fonts\\truetype\\liberation" : "/usr/share/fonts/truetype/liberation";
  CpwFontFace face = cpwLoadFont(cpw, "LiberationMono-Regular.ttf", CPW_FONTLOC_RELATIVE, liberation);
  ASSERT_NE(face, nullptr);
  EXPECT_STREQ(face->family_name, "Liberation Mono");
}

TEST_F(Fonts, TheMonospaceDigitIsAsWideAsTheFacesAdvance) {
  CpwFontFace mono = cpwLoadFont(cpw, "cour.ttf", CPW_FONTLOC_HOST, nullptr);
  ASSERT_NE(mono, nullptr);
  for (int size : {12, 14, 16, 20}) {
    cpwFontMode(cpw, CPW_FONTOPT_SIZE, size);
    CpwFontBBox zero = measure(mono, "0");
    double advance = double(mono->max_advance_width) * size / mono->units_per_EM;
    EXPECT_LT(std::fabs(zero.width - advance), 1.0) << "size " << size;
    EXPECT_EQ(measure(mono, "0000").width, 4 * zero.width);
    EXPECT_EQ(measure(mono, "W").width, zero.width);
    EXPECT_GT(zero.height, size / 2);
    EXPECT_LE(zero.height, size);
    EXPECT_EQ(zero.offsetx, 0);
    EXPECT_LE(zero.offsety, 1);  // the digit sits on the baseline
    CpwFontBBox under = measure(mono, "_");
    EXPECT_GT(under.offsety, 0);  // the underscore lies below the baseline
  }
}

TEST_F(Fonts, MeasuringFollowsTheSpacingAndTheBytesAsCharacterCodes) {
  CpwFontFace sans = cpwLoadFont(cpw, "arial.ttf", CPW_FONTLOC_HOST, nullptr);
  ASSERT_NE(sans, nullptr);
  cpwFontMode(cpw, CPW_FONTOPT_SIZE, 20);
  CpwFontBBox empty = measure(sans, "");
  EXPECT_EQ(empty.width | empty.height | empty.offsetx | empty.offsety, 0);
  CpwFontBBox word = measure(sans, "Towplane");
  EXPECT_GT(word.width, 0);
  EXPECT_GT(word.offsety, 0);  // the p descends
  EXPECT_EQ(word.width, measure(sans, "Tow").width + measure(sans, "plane").width);
  cpwFontMode(cpw, CPW_FONTOPT_SPACING, 2);
  EXPECT_EQ(measure(sans, "Towplane").width, 2 * word.width);
  cpwFontMode(cpw, CPW_FONTOPT_SPACING, 1);
  // Byte 0xE9 is looked up as character 0xE9 (e acute): as wide as e.
  EXPECT_EQ(measure(sans, "\xE9").width, measure(sans, "e").width);
  EXPECT_GT(measure(sans, "\xE9").height, measure(sans, "e").height);
  // A character without a glyph is measured with the missing-glyph glyph.
  ASSERT_EQ(FT_Get_Char_Index(sans, 0x81), 0u);
  FT_Set_Char_Size(sans, 0, 20 * 64, 72, 72);
  ASSERT_EQ(FT_Load_Glyph(sans, 0, FT_LOAD_NO_BITMAP), 0);
  EXPECT_EQ(measure(sans, "\x81").width, int(sans->glyph->advance.x / 64));
  EXPECT_GT(measure(sans, "\x81").width, 0);
}

TEST_F(Fonts, ModesReturnThePreviousValueAndRefuseBadOnes) {
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_OUTLINE, 1), 0);
  EXPECT_EQ(cpwGetLastError(cpw), 0);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_OUTLINE, 2), -1);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_SIZE, 14), 16);  // the default: 16/64 point
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_SIZE, 14), 896);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_GETSIZE, 0), 14);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_KERNING, 1), 0);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_KERNING, 5), -1);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_KERNING, 0), 1);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_SPACING, -1), 1);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_SPACING, 1), -1);  // stored all the same
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_PIXELMAP_GLFORMAT, GL_RGBA), GL_LUMINANCE);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_MODE1, 7), 1);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_ALIGNCENTER, 0), CPW_FONTOPT_ALIGNLEFT);
  EXPECT_EQ(cpwFontMode(cpw, CPW_FONTOPT_ALIGNLEFT, 0), CPW_FONTOPT_ALIGNCENTER);
  cpwSetLastError(cpw, 0);
  EXPECT_EQ(cpwFontMode(cpw, 99, 0), -1);
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  cpwSetLastError(cpw, 0);
  CpwFontBBox box;
  EXPECT_FALSE(cpwGetFontBBox(cpw, nullptr, "x", &box));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
  cpwSetLastError(cpw, 0);
  EXPECT_FALSE(cpwDrawFont(cpw, nullptr, "x", CPW_DRAWFONT_PIXELS));
  EXPECT_EQ(cpwGetLastError(cpw), cpw_error_invalidparameter);
}

}  // namespace
