#include <gtest/gtest.h>

#include "AdaptorFixture.h"
#include "graphics/IGraphics.h"
#include "rtas/CustomViewFactory.h"
#include "rtas/IPlugCustomUI.h"
#include "rtas/IPlugDigiView.h"

using namespace hostabi;

namespace tavo {
namespace {

class EditorHosting : public AdaptorFixture {
protected:
  // A host window whose client area is width × height, known to the extension library.
  void* HostWindow(int32_t width, int32_t height) {
    native = {width, height};
    standin::MapHostWindow(&hostWindow, &native);
    return &hostWindow;
  }
  editorhost::ClientRect ChildFrame() {
    editorhost::ChildWindow* child = process->EditorUI()->ChildWindowOpen();
    return child ? child->Frame() : editorhost::ClientRect{-1, -1, -1, -1};
  }

  SPosixNativeWindow native{};
  int hostWindow = 0;
};

TEST_F(EditorHosting, ReportsTheEditorsSizeAndMakesTheHostView) {
  IPlugProcessRTAS& p = MakeProcess();
  SViewRect rect{1, 1, 1, 1};
  EXPECT_EQ(p.GetEditorRect(&rect), 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.bottom, 416);
  EXPECT_EQ(rect.right, 304);
  // The view made at initialisation holds the editor's view, linked to the interface object.
  auto* frame = dynamic_cast<IPlugFrameView*>(p.EditorView());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Width(), 304);
  EXPECT_EQ(frame->Height(), 416);
  ASSERT_EQ(p.HostView(), frame->EditorView());
  EXPECT_EQ(p.HostView()->EditorUI(), p.EditorUI());
}

TEST_F(EditorHosting, AProcessWithoutAPlugInWritesNoRectangleAndMakesNoView) {
  IPlugProcessRTAS bare(FourCC("TAVO"), [] { return std::unique_ptr<IPlugRTAS>(); });
  SViewRect rect{7, 7, 7, 7};
  EXPECT_EQ(bare.GetEditorRect(&rect), 0);
  EXPECT_EQ(rect.bottom, 7);
  EXPECT_EQ(rect.right, 7);
  EXPECT_EQ(bare.CreateEditorView(), nullptr);
  EXPECT_EQ(bare.EditorUI(), nullptr);
}

TEST_F(EditorHosting, ViewDescriptionsNameRegisteredClassesOnly) {
  MakeProcess(); // the group registers the editor's view class
  auto view = CustomViewFactory::Create("!IPlugDigiView[('NoID')]", 30, 40);
  auto* editorView = dynamic_cast<IPlugDigiView*>(view.get());
  ASSERT_NE(editorView, nullptr);
  EXPECT_EQ(editorView->Width(), 30);
  EXPECT_EQ(editorView->Height(), 40);
  EXPECT_NE(CustomViewFactory::Create("!IPlugDigiView", 1, 1), nullptr);
  EXPECT_EQ(CustomViewFactory::Create("IPlugDigiView", 1, 1), nullptr);
  EXPECT_EQ(CustomViewFactory::Create("!IPlugDigiViews[]", 1, 1), nullptr);
  EXPECT_EQ(CustomViewFactory::Create("![]", 1, 1), nullptr);
  EXPECT_EQ(CustomViewFactory::Create(nullptr, 1, 1), nullptr);
}

TEST_F(EditorHosting, WithoutTheViewClassTheProcessOffersNoViewAndDropsItsInterface) {
  IPlugProcessRTAS& p = MakeProcess();
  auto* earlier = dynamic_cast<IPlugFrameView*>(p.EditorView());
  ASSERT_NE(earlier, nullptr);
  CustomViewFactory::Clear();
  EXPECT_EQ(p.CreateEditorView(), nullptr);
  EXPECT_EQ(p.EditorUI(), nullptr);
  EXPECT_EQ(p.HostView(), nullptr);
  // The view made at initialisation no longer reaches the interface object that went.
  EXPECT_EQ(earlier->EditorView()->EditorUI(), nullptr);
  earlier->EditorView()->Draw(0, 0, 1, 1);
  CustomViewFactory::Register(IPlugDigiView::kClassName, &IPlugDigiView::Make);
}

TEST_F(EditorHosting, EditorSitsCentredOnTheBottomOfTheHostsArea) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.SetEditorWindow(HostWindow(304, 416)), 0);
  EXPECT_EQ(ChildFrame().left, 0);
  EXPECT_EQ(ChildFrame().top, 0);
  EXPECT_EQ(ChildFrame().bottom, 416);
  EXPECT_NE(GraphicsOf(&Effect())->WindowHandle(), nullptr);

  ASSERT_EQ(p.SetEditorWindow(HostWindow(404, 500)), 0);
  EXPECT_EQ(ChildFrame().left, 50);
  EXPECT_EQ(ChildFrame().top, 500 - 416);
  EXPECT_EQ(p.EditorUI()->FreeHeight(), 500 - 416);
  EXPECT_EQ(p.EditorUI()->ParentWidth(), 404);

  ASSERT_EQ(p.SetEditorWindow(HostWindow(405, 416)), 0);
  EXPECT_EQ(ChildFrame().left, 50); // half of 101 rounds towards zero
}

TEST_F(EditorHosting, DetachingClosesTheEditorOnce) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.SetEditorWindow(HostWindow(304, 416)), 0);
  ASSERT_NE(p.EditorUI()->ChildWindowOpen(), nullptr);
  EXPECT_EQ(p.SetEditorWindow(nullptr), 0);
  EXPECT_EQ(p.EditorUI()->ChildWindowOpen(), nullptr);
  EXPECT_EQ(GraphicsOf(&Effect())->WindowHandle(), nullptr);
  EXPECT_FALSE(p.EditorUI()->CloseEditor());
  EXPECT_EQ(p.HostView()->Window(), nullptr);
}

TEST_F(EditorHosting, AnUnknownHostWindowOpensNothing) {
  IPlugProcessRTAS& p = MakeProcess();
  int unknown = 0;
  EXPECT_EQ(p.SetEditorWindow(&unknown), 0);
  EXPECT_EQ(p.EditorUI()->ChildWindowOpen(), nullptr);
  EXPECT_EQ(standin::DigiExtErrorCount(), 1); // the host refused to map it, as it should
  standin::ResetDigiExt();
}

TEST_F(EditorHosting, ResizingClosesTheWindowAndTellsTheHost) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.SetEditorWindow(HostWindow(304, 416)), 0);
  standin::ClearDispatchedMessages();
  Effect().ResizeEditor(0, 0);
  EXPECT_EQ(p.EditorUI()->ChildWindowOpen(), nullptr);
  const auto messages = standin::DispatchedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, FourCC("WNRS"));
  EXPECT_EQ(messages[0].receiver, p.ProcessID());
  // The host reattaches and the editor opens again.
  ASSERT_EQ(p.SetEditorWindow(HostWindow(304, 416)), 0);
  EXPECT_NE(p.EditorUI()->ChildWindowOpen(), nullptr);
}

TEST_F(EditorHosting, DrawingTheViewRedrawsTheWholeEditor) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.SetEditorWindow(HostWindow(304, 416)), 0);
  IGraphics* editor = GraphicsOf(&Effect());
  IBounds dirty;
  if (editor->IsDirty(dirty)) editor->Draw(dirty);
  p.HostView()->Draw(0, 0, 10, 10);
  ASSERT_TRUE(editor->IsDirty(dirty));
  EXPECT_EQ(dirty.R - dirty.L, 304);
}

TEST_F(EditorHosting, TheHostsSpareEditorCallsChangeNothing) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_EQ(p.SetEditorWindow(HostWindow(404, 516)), 0);
  EditorInterface& ui = *p.EditorUI();
  const editorhost::ClientRect frame = ChildFrame();
  ui.EditorHook5(1, 2, 3, 4);
  ui.EditorHook6(1, 2, 3);
  int32_t answer = -1;
  ui.EditorQuery7(1, 2, &answer);
  EXPECT_EQ(answer, 0);
  ui.EditorQuery7(1, 2, nullptr);
  EXPECT_EQ(ChildFrame().left, frame.left);
  EXPECT_EQ(ChildFrame().top, frame.top);
  EXPECT_EQ(p.EditorUI()->ParentWindow(), static_cast<void*>(&native));
  // Closing through the host's interface reaches the editor's own close.
  EXPECT_TRUE(ui.CloseEditor());
  EXPECT_EQ(GraphicsOf(&Effect())->WindowHandle(), nullptr);
}

TEST_F(EditorHosting, TheEditorReadsTheHostsKeyMap) {
  IPlugProcessRTAS& p = MakeProcess();
  ASSERT_NE(p.EditorUI(), nullptr);
  IGraphics* editor = GraphicsOf(&Effect());
  EXPECT_FALSE(editor->QueryHostKeyMap().AlternateDown());
  standin::SetKeyDown(HostKeyMap::kAlternateKey, true);
  standin::SetKeyDown(HostKeyMap::kAutomationKeyA, true);
  EXPECT_TRUE(editor->QueryHostKeyMap().AlternateDown());
  EXPECT_FALSE(editor->QueryHostKeyMap().AutomationClickHeld()); // one of the two keys only
  standin::SetKeyDown(HostKeyMap::kAutomationKeyB, true);
  EXPECT_TRUE(editor->QueryHostKeyMap().AutomationClickHeld());
  standin::SetKeyDown(HostKeyMap::kAlternateKey, false);
  EXPECT_FALSE(editor->QueryHostKeyMap().AlternateDown());
}

} // namespace
} // namespace tavo
