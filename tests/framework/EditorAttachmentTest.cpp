// The base and its editor through the framework's own interface, with no graphics layer linked.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/IEditor.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

// Records every call in order; counts its own deletion.
class RecordingEditor : public IEditor {
public:
  RecordingEditor(std::vector<std::string>* log, int* deleted) : log_(log), deleted_(deleted) {}
  ~RecordingEditor() override { ++*deleted_; }
  void SetParameterFromPlug(int idx, double value, bool normalized) override {
    log_->push_back("param " + std::to_string(idx) + " " + std::to_string(value) +
                    (normalized ? " n" : " p"));
  }
  void SetControlFromPlug(int idx, double value) override {
    log_->push_back("control " + std::to_string(idx) + " " + std::to_string(value));
  }
  void PrepareSurfaces() override { log_->push_back("surfaces"); }

private:
  std::vector<std::string>* log_;
  int* deleted_;
};

class EditorAttachment : public ::testing::Test {
protected:
  EditorAttachment() : plug(2, "1-1", 1) {
    plug.GetParam(0)->InitDouble("Gain", 5, -10, 10, 0.1);
    plug.GetParam(1)->InitBool("On", true);
  }
  std::unique_ptr<IEditor> Editor() { return std::make_unique<RecordingEditor>(&log, &deleted); }

  std::vector<std::string> log;
  int deleted = 0;
  test::TestPlug plug;
};

TEST_F(EditorAttachment, AttachingPushesNormalizedValuesThenPreparesTheSurfaces) {
  plug.AttachEditor(Editor());
  EXPECT_EQ(log,
            (std::vector<std::string>{"param 0 0.750000 n", "param 1 1.000000 n", "surfaces"}));
  ASSERT_NE(plug.GetGUI(), nullptr);
  log.clear();
  plug.RefreshEditorParams(); // plain values this time
  EXPECT_EQ(log, (std::vector<std::string>{"param 0 5.000000 p", "param 1 1.000000 p"}));
}

TEST_F(EditorAttachment, TheBaseOwnsItsEditorAndASecondOneReplacesTheFirst) {
  plug.AttachEditor(nullptr); // ignored
  EXPECT_EQ(plug.GetGUI(), nullptr);
  plug.AttachEditor(Editor());
  plug.AttachEditor(Editor());
  EXPECT_EQ(deleted, 1);
  {
    test::TestPlug other(1, "1-1", 1);
    other.AttachEditor(Editor());
  }
  EXPECT_EQ(deleted, 2);
}

} // namespace
} // namespace tavo
