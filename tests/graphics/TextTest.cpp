#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestSupport.h"
#include "graphics/FontCache.h"
#include "graphics/IKnobControl.h"
#include "graphics/ITextControl.h"

namespace tavo {
namespace {

using test::ScriptedResponder;
using test::TestEditor;
using test::TestPlug;

class Text : public ::testing::Test {
protected:
  Text() : plug(2, "1-1", 1) {
    plug.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1, "dB");
    plug.GetParam(1)->InitEnum("Mode", 0, 2);
    plug.GetParam(1)->SetDisplayText(0, "Clean");
    plug.GetParam(1)->SetDisplayText(1, "Dirty");
    auto owned = std::make_unique<TestEditor>(&plug);
    editor = owned.get();
    editor->SetResponder(&responder);
    plug.AttachEditor(std::move(owned));
    editor->ClearSurface(0xFFFFFFFFu);
  }
  // Pixels in the rectangle darker than white.
  int InkIn(const IBounds& r) const {
    int ink = 0;
    for (int y = r.T; y < r.B; ++y)
      for (int x = r.L; x < r.R; ++x)
        ink += (editor->SurfacePixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return ink;
  }
  std::string Display(int param) const {
    char text[32];
    plug.GetParam(param)->FormatValue(plug.GetParam(param)->Value(), false, text, sizeof text,
                                      true);
    return text;
  }

  TestPlug plug;
  TestEditor* editor = nullptr;
  ScriptedResponder responder;
  ITextStyle style;
};

TEST_F(Text, AnAbsentOrEmptyTextSucceedsWithoutDrawing) {
  IBounds r(0, 0, 100, 20);
  EXPECT_TRUE(editor->DrawText(style, nullptr, r));
  EXPECT_TRUE(editor->DrawText(style, "", r));
  EXPECT_EQ(InkIn(IBounds(0, 0, 100, 20)), 0);
}

TEST_F(Text, TheSameStyleSharesOneFontAndAnotherSizeGetsItsOwn) {
  ITextStyle larger;
  larger.size = 20;
  LICE_CachedFont* font = FontCache::FontFor(style);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(FontCache::FontFor(ITextStyle()), font);
  EXPECT_NE(FontCache::FontFor(larger), font);
}

TEST_F(Text, MeasuringFitsTheRectangleToTheTextByAlignment) {
  style.align = ITextStyle::kNear;
  IBounds nearRect(10, 20, 200, 60);
  ASSERT_TRUE(editor->MeasureText(style, "Drive", nearRect));
  const int w = nearRect.W(), h = nearRect.H();
  EXPECT_GT(w, 10);
  EXPECT_GT(h, 5);
  EXPECT_EQ(nearRect.L, 10);
  EXPECT_EQ(nearRect.T, 20);

  style.align = ITextStyle::kCenter;
  IBounds centred(10, 20, 200, 60);
  editor->MeasureText(style, "Drive", centred);
  EXPECT_EQ(centred.L, 105 - w / 2);
  EXPECT_EQ(centred.W(), w);

  style.align = ITextStyle::kFar;
  IBounds farRect(10, 20, 200, 60);
  editor->MeasureText(style, "Drive", farRect);
  EXPECT_EQ(farRect.R, 200);
  EXPECT_EQ(farRect.L, 200 - w);
  EXPECT_EQ(farRect.B, 20 + h);
}

TEST_F(Text, DrawnTextInksOnlyAroundItsAlignedPlace) {
  style.align = ITextStyle::kNear;
  IBounds r(10, 10, 290, 40);
  ASSERT_TRUE(editor->DrawText(style, "Saturation", r));
  EXPECT_GT(InkIn(IBounds(10, 10, 80, 40)), 20);
  EXPECT_EQ(InkIn(IBounds(200, 0, 304, 50)), 0);
}

TEST_F(Text, ATextControlRedrawsOnlyWhenItsTextChanges) {
  ITextControl label(&plug, IBounds(0, 0, 100, 20), style, "Gain");
  label.SetClean();
  label.SetTextFromPlug("Gain");
  EXPECT_FALSE(label.IsDirty());
  label.SetTextFromPlug("Trim");
  EXPECT_TRUE(label.IsDirty());
  EXPECT_STREQ(label.Text(), "Trim");
}

TEST_F(Text, ALinkedValueTextShowsTheParametersDisplayTextAfterADrag) {
  auto valueText = std::make_unique<ITextControl>(&plug, IBounds(0, 60, 50, 75), style);
  auto nameText = std::make_unique<ITextControl>(&plug, IBounds(0, 75, 50, 90), style);
  auto knob = std::make_unique<IKnobMultiControl>(&plug, 0, 0, 0, editor->Strip(50, 50, 11));
  knob->SetValueFromPlug(0.5);
  knob->LinkValueText(valueText.get());
  knob->LinkNameText(nameText.get());
  ITextControl* value = valueText.get();
  ITextControl* name = nameText.get();
  editor->AttachControl(std::move(knob));
  editor->AttachControl(std::move(valueText));
  editor->AttachControl(std::move(nameText));

  editor->OnMouseDown(25, 25, {true});
  editor->OnMouseDrag(25, 15, {true});
  editor->OnMouseUp(25, 15, {true});
  EXPECT_NEAR(plug.GetParam(0)->Value(), 2.0, 1e-9);
  EXPECT_EQ(value->Text(), Display(0));
  EXPECT_STREQ(name->Text(), "Gain");
}

TEST_F(Text, ACaptionShowsTheValueWithItsUnitAndPromptsOnAnyClick) {
  auto owned = std::make_unique<ICaptionControl>(&plug, IBounds(0, 0, 120, 20), 0, style, true);
  ICaptionControl* caption = owned.get();
  editor->AttachControl(std::move(owned));
  editor->SetClip(IBounds(0, 0, 304, 416));
  ASSERT_TRUE(caption->Draw(editor));
  EXPECT_EQ(caption->Text(), Display(0) + " dB");
  EXPECT_GT(InkIn(IBounds(0, 0, 120, 20)), 10);

  responder.entryAnswer = "3.5";
  editor->OnMouseDown(5, 5, {true});
  EXPECT_NEAR(plug.GetParam(0)->Value(), 3.5, 1e-9);
  editor->OnMouseDblClick(5, 5, {true});
  EXPECT_EQ(responder.entryTexts.size(), 2u);
}

} // namespace
} // namespace tavo
