#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphicsTestSupport.h"

namespace tavo {
namespace {

using test::TestEditor;
using test::TestPlug;

// A control that records every event the editor routes to it.
class Recorder : public IControl {
public:
  Recorder(IPlugBase* plug, const IBounds& r, int param, std::vector<std::string>* log,
           const char* name)
      : IControl(plug, r, param), log_(log), name_(name) {}
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, const MouseMods&) override { Note("down", x, y); }
  void OnMouseUp(int x, int y, const MouseMods&) override { Note("up", x, y); }
  void OnMouseDrag(int x, int y, int dx, int dy, const MouseMods&) override {
    Note("drag", x, y);
    log_->push_back("  by " + std::to_string(dx) + "," + std::to_string(dy));
  }
  void OnMouseDblClick(int x, int y, const MouseMods&) override { Note("dbl", x, y); }
  void OnMouseOver(int x, int y, const MouseMods&) override { Note("over", x, y); }
  void OnMouseOut() override { log_->push_back(name_ + " out"); }
  bool OnKeyDown(int x, int y, int key) override {
    Note("key" + std::to_string(key), x, y);
    return true;
  }

private:
  void Note(const std::string& what, int x, int y) {
    log_->push_back(name_ + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
  }
  std::vector<std::string>* log_;
  std::string name_;
};

class Routing : public ::testing::Test {
protected:
  explicit Routing(ApiKind api = kApiRTAS) : plug(2, "1-1", 1, 0, api), editor(&plug) {
    plug.GetParam(0)->InitDouble("A", 0, 0, 1, 0.01);
    plug.GetParam(1)->InitDouble("B", 0, 0, 1, 0.01);
    background = Add(IBounds(0, 0, 100, 100), -1, "bg");
    lower = Add(IBounds(10, 10, 50, 50), 0, "lower");
    upper = Add(IBounds(40, 40, 80, 80), 1, "upper");
  }
  Recorder* Add(const IBounds& r, int param, const char* name) {
    auto c = std::make_unique<Recorder>(&plug, r, param, &log, name);
    Recorder* raw = c.get();
    editor.AttachControl(std::move(c));
    return raw;
  }

  std::vector<std::string> log;
  TestPlug plug;
  TestEditor editor;
  Recorder *background, *lower, *upper;
};

TEST_F(Routing, AClickInAnOverlapGoesToTheLaterControlAndHoldsItThroughTheDrag) {
  editor.OnMouseDown(45, 45, {true});
  editor.OnMouseDrag(20, 20, {true}); // over the lower control now, still captured by upper
  editor.OnMouseUp(20, 20, {true});
  const std::vector<std::string> expected{"upper down 45,45", "upper drag 20,20", "  by -25,-25",
                                          "upper up 20,20"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(plug.calls, (std::vector<std::string>{"Begin 1", "End 1"}));
}

TEST_F(Routing, ADragAtTheLastPositionIsNotDelivered) {
  editor.OnMouseDown(20, 20, {true});
  editor.OnMouseDrag(20, 20, {true});
  editor.OnMouseDrag(21, 20, {true});
  editor.OnMouseDrag(21, 20, {true});
  EXPECT_EQ(log, (std::vector<std::string>{"lower down 20,20", "lower drag 21,20", "  by 1,0"}));
}

TEST_F(Routing, DragsWithoutACaptureGoNowhere) {
  editor.OnMouseDrag(20, 20, {true});
  EXPECT_TRUE(log.empty());
}

TEST_F(Routing, HiddenAndGrayedControlsAreSkippedForTheOneBeneath) {
  upper->Hide(true);
  EXPECT_EQ(editor.ControlIndexAt(45, 45), 1);
  upper->Hide(false);
  upper->GrayOut(true);
  EXPECT_EQ(editor.ControlIndexAt(45, 45), 1);
  EXPECT_EQ(editor.ControlIndexAt(70, 70), 0);
  EXPECT_EQ(editor.ControlIndexAt(200, 200), -1);
}

TEST_F(Routing, MouseOverIsRoutedOnlyWhenAskedAndTellsThePreviousControlItLeft) {
  EXPECT_FALSE(editor.OnMouseOver(20, 20, {}));
  EXPECT_TRUE(log.empty());
  editor.HandleMouseOver(true);
  EXPECT_TRUE(editor.OnMouseOver(20, 20, {}));
  EXPECT_TRUE(editor.OnMouseOver(70, 70, {}));
  EXPECT_EQ(log, (std::vector<std::string>{"lower over 20,20", "upper over 70,70", "lower out"}));
  log.clear();
  editor.OnMouseOut();
  EXPECT_EQ(log, (std::vector<std::string>{"bg out", "lower out", "upper out"}));
}

TEST_F(Routing, KeysGoToTheControlUnderThePointerOrElseTheKeyCatcher) {
  EXPECT_TRUE(editor.OnKeyDown(20, 20, 3));
  EXPECT_FALSE(editor.OnKeyDown(90, 90, 3)); // only the background there, and no catcher
  editor.SetKeyCatcher(std::make_unique<Recorder>(&plug, IBounds(), -1, &log, "catcher"));
  EXPECT_TRUE(editor.OnKeyDown(90, 90, 4));
  EXPECT_EQ(log, (std::vector<std::string>{"lower key3 20,20", "catcher key4 90,90"}));
}

TEST_F(Routing, ADoubleClickCanActAsASecondPress) {
  EXPECT_FALSE(editor.OnMouseDblClick(20, 20, {true}));
  lower->SetDblAsSingleClick(true);
  EXPECT_TRUE(editor.OnMouseDblClick(20, 20, {true}));
  EXPECT_EQ(editor.CapturedControl(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"lower dbl 20,20", "lower down 20,20"}));
}

TEST_F(Routing, TheAutomationClickNotesOnlyBoundControls) {
  EXPECT_EQ(editor.NoteAutomationParamAt(90, 90), -1); // background
  EXPECT_EQ(editor.NoteAutomationParamAt(300, 300), -1);
  EXPECT_EQ(editor.NoteAutomationParamAt(45, 45), 1);
  EXPECT_EQ(editor.TakeAutomationParam(), 1);
  EXPECT_EQ(editor.TakeAutomationParam(), -1);
}

TEST_F(Routing, TheWheelReachesTheControlUnderThePointer) {
  upper->SetValueFromPlug(0.5);
  editor.OnMouseWheel(70, 70, {}, 3);
  EXPECT_NEAR(upper->Value(), 0.53, 1e-12);
  editor.OnMouseWheel(300, 300, {}, 3); // nothing there
}

class RoutingForVST3 : public Routing {
protected:
  RoutingForVST3() : Routing(kApiVST3) {}
};

TEST_F(RoutingForVST3, ARightClickOnABoundControlOpensTheHostsMenuInstead) {
  editor.OnMouseDown(20, 20, {false, true});
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(plug.calls, (std::vector<std::string>{"Menu 0 20,20"}));
  EXPECT_EQ(editor.CapturedControl(), -1);
  editor.OnMouseDown(90, 90, {false, true}); // unbound: the control gets it
  EXPECT_EQ(log, (std::vector<std::string>{"bg down 90,90"}));
}

} // namespace
} // namespace tavo
