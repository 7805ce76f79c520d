#include "quorl/core/MControl.h"

#include <gtest/gtest.h>

#include "quorl/core/ControlRegistry.h"
#include "quorl/core/MControlFont.h"
#include "quorl/paint/ControlTestSupport.h"

namespace Quorl {
namespace {

using Testing::HostWindow;
using Testing::ProbeControl;

// Counts the repaint requests that reach the top.
class CountingParent : public MObject {
public:
    LONG OnControlUpdate(CRect rect, BOOL update, MControl*) override {
        requests.push_back({rect, update});
        return 0;
    }
    std::vector<std::pair<CRect, BOOL>> requests;
};

TEST(MControlTest, HiddenControlsNeitherDrawNorGetInputAndTheirChildrenAreSkipped) {
    CountingParent parent;
    ProbeControl box(&parent, 10, CRect(0, 0, 100, 100));
    auto* child = static_cast<ProbeControl*>(
        box.AddControl(new ProbeControl(&box, 11, CRect(10, 10, 50, 50))));

    box.SetVisible(TRUE);  // unchanged: nothing happens
    EXPECT_TRUE(parent.requests.empty());
    box.SetVisible(FALSE);  // hiding repaints the rect with update
    ASSERT_EQ(parent.requests.size(), 1u);
    EXPECT_EQ(parent.requests[0].first, box.GetRect());
    EXPECT_TRUE(parent.requests[0].second);

    EXPECT_FALSE(box.OnMouseMove(0, {20, 20}));
    EXPECT_FALSE(box.OnLButtonDown(0, {20, 20}));
    EXPECT_FALSE(box.OnScroll(1, 1, {20, 20}));
    EXPECT_FALSE(box.PtInRect({20, 20}));
    Bitmap surface(100, 100);
    Canvas canvas(surface);
    box.Draw(canvas, CRect(0, 0, 100, 100));
    EXPECT_TRUE(box.events.empty());
    EXPECT_TRUE(child->events.empty());
    EXPECT_EQ(box.redraws + child->redraws, 0);
    EXPECT_EQ(surface.GetPixel(20, 20), 0u);

    box.SetVisible(TRUE);
    box.Draw(canvas, CRect(0, 0, 100, 100));
    EXPECT_EQ(box.redraws, 1);
    EXPECT_EQ(child->redraws, 1);
}

TEST(MControlTest, ScrollBarChildrenGetUntranslatedPointsOthersContentPoints) {
    CountingParent parent;
    ProbeControl box(&parent, 10, CRect(0, 0, 200, 200));
    box.offset = CPoint(0, 100);  // scrolled down by 100
    ProbeControl* bar = static_cast<ProbeControl*>(
        box.AddControl(new ProbeControl(&box, 1, CRect(180, 0, 200, 200))));
    ProbeControl* item = static_cast<ProbeControl*>(
        box.AddControl(new ProbeControl(&box, 5, CRect(0, 100, 180, 300))));

    box.OnMouseMove(0, {190, 50});
    EXPECT_EQ(bar->Last("move"), CPoint(190, 50));
    EXPECT_EQ(item->Last("move"), CPoint(190, 150));
    EXPECT_EQ(box.Last("move"), CPoint(190, 50));  // the container itself sees its own point
    EXPECT_EQ(box.GetMouseChild(), bar);

    box.OnLButtonDown(0, {20, 50});
    EXPECT_EQ(item->Last("down"), CPoint(20, 150));
}

TEST(MControlTest, PressedChildKeepsMovesAndGetsTheReleaseOutside) {
    CountingParent parent;
    ProbeControl box(&parent, 10, CRect(0, 0, 200, 200));
    ProbeControl* child = static_cast<ProbeControl*>(
        box.AddControl(new ProbeControl(&box, 11, CRect(10, 10, 50, 50))));

    box.OnMouseMove(0, {20, 20});
    ASSERT_EQ(box.GetMouseChild(), child);
    box.OnLButtonDown(MK_LBUTTON, {20, 20});
    EXPECT_EQ(child->Count("down"), 1u);
    EXPECT_EQ(box.Count("down"), 0u);

    box.OnMouseMove(MK_LBUTTON, {150, 150});
    EXPECT_EQ(child->Last("move"), CPoint(150, 150));
    EXPECT_EQ(box.Count("move"), 1u);  // only the first move, before the press
    box.OnLButtonUp(0, {150, 150});
    EXPECT_EQ(child->Last("up"), CPoint(150, 150));
    EXPECT_EQ(box.Count("up"), 0u);

    // Released: the next move outside drops the child.
    box.OnMouseMove(0, {150, 150});
    EXPECT_EQ(box.GetMouseChild(), nullptr);
}

TEST(MControlTest, DoubleClickIsASecondPressUnlessTheControlTakesDoubleClicks) {
    CountingParent parent;
    ProbeControl plain(&parent, 3, CRect(0, 0, 50, 50));
    plain.OnLButtonDblClk(0, {5, 5});
    EXPECT_EQ(plain.Count("down"), 1u);
    EXPECT_EQ(plain.Count("dblclk"), 0u);

    ProbeControl box(&parent, 4, CRect(0, 0, 100, 100));
    box.SetDblClkFlag(TRUE);
    box.SetNotify(TRUE, FALSE);
    ProbeControl* owner = &box;
    ProbeControl inner(owner, 8, CRect(0, 0, 100, 100));
    inner.SetDblClkFlag(TRUE);
    inner.SetNotify(TRUE, FALSE);
    inner.OnLButtonDblClk(0, {7, 9});
    EXPECT_EQ(inner.Count("dblclk"), 1u);
    ASSERT_EQ(box.notes.size(), 1u);
    EXPECT_EQ(box.notes[0].id, 8u);
    EXPECT_EQ(box.notes[0].code, NOTIFY_DBLCLK);
    EXPECT_EQ(GET_X_LPARAM(box.notes[0].lParam), 7);
    EXPECT_EQ(GET_Y_LPARAM(box.notes[0].lParam), 9);

    // A child without double-clicks, reached through its parent, also gets a second press.
    ProbeControl* child = HostWindow::AddChild(&box, 12, CRect(10, 10, 40, 40));
    box.OnMouseMove(0, {20, 20});
    box.OnLButtonDblClk(0, {20, 20});
    EXPECT_EQ(child->Count("down"), 1u);
}

TEST(MControlTest, GetControlSearchesDepthFirstControlsBeforeAreas) {
    CountingParent parent;
    ProbeControl root(&parent, 1000, CRect(0, 0, 10, 10));
    MControl* area = root.AddArea(new ProbeControl(&root, 7, CRect()));
    MControl* first = HostWindow::AddChild(&root, 1, CRect());
    MControl* deep = HostWindow::AddChild(first, 7, CRect());  // same id as the area
    MControl* deeper = HostWindow::AddChild(deep, 9, CRect());
    HostWindow::AddChild(&root, 9, CRect());  // later sibling with the same id as deeper
    MControl* areaChild = area->AddControl(new ProbeControl(area, 42, CRect()));

    EXPECT_EQ(root.GetControl(7), deep);
    EXPECT_EQ(root.GetControl(9), deeper);
    EXPECT_EQ(root.GetControl(42), areaChild);
    EXPECT_EQ(root.GetControl(555), nullptr);
}

TEST(MControlTest, SetCursorExKnowsItsOwnNamesByIdentity) {
    CountingParent parent;
    ProbeControl c(&parent, 1, CRect(0, 0, 10, 10));
    const wchar_t copy[] = L"hand";
    EXPECT_FALSE(c.SetCursorEx(copy));
    EXPECT_FALSE(c.SetCursorEx(nullptr));
    EXPECT_EQ(c.GetCursorName(), nullptr);
    EXPECT_TRUE(c.SetCursorEx(CURSOR_HAND));
    EXPECT_EQ(c.GetCursorName(), CURSOR_HAND);
    EXPECT_FALSE(c.SetCursorEx(L"arrow "));
    EXPECT_EQ(c.GetCursorName(), CURSOR_HAND);
}

TEST(MControlTest, KeysDescendToTheFocusedChildAndNotify) {
    CountingParent parent;
    ProbeControl root(&parent, 1, CRect(0, 0, 100, 100));
    ProbeControl* a = HostWindow::AddChild(&root, 2, CRect());
    ProbeControl* b = HostWindow::AddChild(&root, 3, CRect());
    ProbeControl* leaf = HostWindow::AddChild(b, 4, CRect());
    b->SetControlFocus(TRUE);
    leaf->SetControlFocus(TRUE);
    leaf->SetNotify(FALSE, TRUE);
    leaf->SetHotKey('K', KEYMOD_CTRL);

    EXPECT_TRUE(root.OnKeyDown('K', 1, KEYMOD_CTRL));
    EXPECT_EQ(leaf->Count("key"), 1u);
    EXPECT_EQ(a->Count("key") + root.Count("key") + b->Count("key"), 0u);
    ASSERT_EQ(b->notes.size(), 1u);
    EXPECT_EQ(b->notes[0].code, NOTIFY_KEY);
    EXPECT_EQ(b->notes[0].wParam, static_cast<UINT>('K'));
    EXPECT_EQ(b->notes[0].lParam, static_cast<LONG>(KEYMOD_CTRL));

    EXPECT_FALSE(root.OnKeyDown('K', 1, 0));  // wrong modifier: unhandled, still notified
    EXPECT_EQ(b->notes.size(), 2u);

    // Losing the focus clears it down the tree.
    b->SetControlFocus(FALSE);
    EXPECT_FALSE(leaf->IsFocused());
}

TEST(MControlTest, TimerTicksReachRunningVisibleChildren) {
    CountingParent parent;
    ProbeControl root(&parent, 1, CRect());
    ProbeControl* running = HostWindow::AddChild(&root, 2, CRect());
    ProbeControl* idle = HostWindow::AddChild(&root, 3, CRect());
    ProbeControl* hidden = HostWindow::AddChild(&root, 4, CRect());
    running->SetRunTimer(TRUE);
    hidden->SetRunTimer(TRUE);
    hidden->SetVisible(FALSE);
    EXPECT_TRUE(root.OnTimer());
    EXPECT_EQ(root.timerTicks, 1);
    EXPECT_EQ(running->timerTicks, 1);
    EXPECT_EQ(idle->timerTicks, 0);
    EXPECT_EQ(hidden->timerTicks, 0);
}

class Label : public MControlFont {
public:
    Label(MObject* parent, const wchar_t* title)
        : MControlFont(parent, 3, CRect(0, 0, 50, 20), title, TRUE, TRUE, TRUE) {}
    void DrawControl(Canvas&, CRect) override {}
};

TEST(MControlFontTest, ImagesNeedAManagerAndALoadableFileFontsAreRebuiltOnChange) {
    HostWindow host;
    auto* label = new Label(&host, L"Title");
    EXPECT_FALSE(label->SetImage(L"img_missing.png", 4));  // no manager yet
    host.manager.AddControl(label);
    EXPECT_FALSE(label->SetImage(L"img_missing.png", 4));
    EXPECT_FALSE(label->SetImage(nullptr, 4));
    EXPECT_EQ(label->GetImageInfo(), nullptr);
    EXPECT_EQ(label->GetStateCount(), 4);
    EXPECT_EQ(label->GetTextColor().GetValue(), 0xFFB8D3EFu);

    label->SetFont(L"A face name that is longer than thirty-two characters", 15,
                   FontStyleBold | FontStyleStrikeout);
    const Font& font = label->GetGDIFont();
    EXPECT_EQ(font.GetFace().GetLength(), 32);
    EXPECT_EQ(font.GetSize(), 15);
    EXPECT_EQ(font.GetStyle(), FontStyleBold);  // strike-out is not a text style here
    label->SetFontWidth(18);
    EXPECT_EQ(label->GetGDIFont().GetSize(), 18);

    label->SetTitle(L"New");
    EXPECT_EQ(label->GetTitle(), L"New");
    EXPECT_FALSE(label->GetUpdate());  // the repaint request marked the cache stale
}

class ProbeArea : public ProbeControl {
public:
    ProbeArea(MObject* p, UINT id, CRect r, int visible, int enabled) : ProbeControl(p, id, r) {
        m_visible = visible;
        m_enabled = enabled;
    }
};

TEST(ControlFactoryTest, UnknownEmptyAndUnbuiltNamesGiveNull) {
    HostWindow host;
    for (const wchar_t* name : ControlRegistry::Window().Names()) {
        const std::wstring_view n(name);
        if (n == L"MenuItem") {
            MControl* item = host.manager.CreateControl(2, &host, name, 1, CRect(), L"Exit", 1, 1);
            ASSERT_NE(item, nullptr);
            EXPECT_TRUE(item->IsClass(L"MenuItem"));
            delete item;
        } else if (n != L"CArea") {
            EXPECT_EQ(host.manager.CreateControl(&host, name, 1, CRect(), L"", 1, 1), nullptr)
                << std::wstring(name).size();
        }
    }
    EXPECT_EQ(ControlRegistry::Window().Names().size(), 41u);
    EXPECT_EQ(ControlRegistry::Container().Names().size(), 52u);
    EXPECT_EQ(host.manager.CreateControl(&host, nullptr, 1, CRect(), L"", 1, 1), nullptr);
    EXPECT_EQ(host.manager.CreateControl(&host, L"", 1, CRect(), L"", 1, 1), nullptr);
    EXPECT_EQ(host.manager.CreateControl(&host, L"NoSuchControl", 1, CRect(), L"", 1, 1), nullptr);
    EXPECT_TRUE(host.manager.GetControls().empty());
    // Names exist only in their own factory, and unlisted names cannot be registered.
    EXPECT_TRUE(ControlRegistry::Window().IsListed(L"BatteryCtrl"));
    EXPECT_FALSE(ControlRegistry::Container().IsListed(L"BatteryCtrl"));
    EXPECT_TRUE(ControlRegistry::Container().IsListed(L"NumberEdit2"));
    EXPECT_FALSE(ControlRegistry::Window().IsListed(L"NumberEdit2"));
    EXPECT_FALSE(
        ControlRegistry::Window().Register(L"NoSuchControl", &MakeTwoFlagControl<ProbeArea>));
}

TEST(ControlFactoryTest, KindChoosesTheListAndTheControlJoinsTheManager) {
    HostWindow host;
    ASSERT_TRUE(ControlRegistry::Window().Register(L"CArea", &MakeTwoFlagControl<ProbeArea>));
    EXPECT_EQ(host.manager.CreateControl(&host, L"carea", 1, CRect(), L"", 1, 1), nullptr);

    MControl* area = host.manager.CreateArea(&host, L"CArea", 5, CRect(1, 2, 3, 4), L"x", 1, 0);
    MControl* control = host.manager.CreateControl(&host, L"CArea", 6, CRect(), L"", 0, 1);
    MControl* loose = host.manager.CreateControl(2, &host, L"CArea", 7, CRect(), L"", 1, 1);
    ASSERT_TRUE(area && control && loose);
    EXPECT_EQ(area->GetManager(), &host.manager);
    EXPECT_EQ(loose->GetManager(), &host.manager);
    EXPECT_EQ(area->GetRect(), CRect(1, 2, 3, 4));
    EXPECT_TRUE(area->IsVisible());
    EXPECT_FALSE(area->IsEnabled());
    EXPECT_FALSE(control->IsVisible());
    EXPECT_EQ(host.manager.GetControls(), std::vector<MControl*>{control});
    EXPECT_EQ(host.manager.GetControl(5), area);
    EXPECT_EQ(host.manager.GetControl(7), nullptr);
    delete loose;
}

}  // namespace
}  // namespace Quorl
