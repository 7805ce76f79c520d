#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "quorl/paint/ControlTestSupport.h"

namespace Quorl {
namespace {

using Testing::HostWindow;

// Ticks on the timer thread and asks for a repaint from there, as animated controls do.
class Ticker : public MControl {
public:
    Ticker(MObject* parent, UINT id, CRect rect) : MControl(parent, id, rect, TRUE, TRUE, TRUE) {
        SetRunTimer(TRUE);
    }
    static inline std::atomic<int> ticks{0};
    void DrawControl(Canvas& target, CRect) override {
        if (!GetUpdate()) {
            UpdateMemDC(target, m_rect.Width(), m_rect.Height());
            m_memBitmap.Clear(0xFF202020);
        }
        target.CopyBitmap(m_memBitmap, m_memBitmap.Bounds(), m_rect.left, m_rect.top);
    }
    BOOL OnControlTimer() override {
        ticks.fetch_add(1);
        UpdateControl(FALSE);
        return 1;
    }
    LONG OnControlUpdate(CRect rect, BOOL update, MControl* control) override {
        return m_parent ? m_parent->OnControlUpdate(rect, update, control) : 0;
    }
};

TEST(AnimationTimerThreadTest, TicksWalkTheTreeWhileTheUiThreadEditsIt) {
    HostWindow host(CRect(0, 0, 300, 200));
    auto* container =
        static_cast<Ticker*>(host.manager.AddControl(new Ticker(&host, 1, CRect(0, 0, 300, 200))));
    host.manager.AddMTimer(container);
    ASSERT_NE(host.manager.SetMTimer(2), 0u);
    CMTimer* owner = CMTimer::GetMTimer(1);
    (void)owner;

    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    int round = 0;
    while (std::chrono::steady_clock::now() < until) {
        ++round;
        // Children come and go under the running timer.
        MControl* child = container->AddControl(
            new Ticker(container, 100 + round % 50, CRect(round % 200, 10, round % 200 + 20, 30)));
        auto* top = host.manager.AddControl(new Ticker(&host, 1000 + round, CRect(5, 5, 25, 25)));
        host.manager.AddMTimer(top);
        host.Drain();
        if (round % 3 == 0) {
            container->RemoveControl(child);
        }
        host.manager.RemoveControl(top);
        if (round % 10 == 0) {
            container->RemoveAllControl();
        }
    }
    host.manager.KillMTimer();
    const int before = Ticker::ticks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GT(before, 10);
    EXPECT_EQ(Ticker::ticks.load(), before);  // nothing ticks after the kill
}

TEST(AnimationTimerThreadTest, TimersAreFoundByIdAndKilledOneByOne) {
    HostWindow host;
    const UINT a = host.manager.SetMTimer(50);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(CMTimer::GetMTimer(a), &host.manager);
    EXPECT_TRUE(host.manager.GetTimerIsRun(a));
    EXPECT_EQ(static_cast<CMTimer&>(host.manager).SetTimer(0, L"none", FALSE), 0u);
    const UINT b = static_cast<CMTimer&>(host.manager).SetTimer(50, L"named", TRUE);
    EXPECT_TRUE(host.manager.IsAppTimer(b));
    EXPECT_EQ(host.manager.GetTimerName(b), L"named");
    EXPECT_EQ(static_cast<CMTimer&>(host.manager).KillTimer(a), 1u);
    EXPECT_EQ(static_cast<CMTimer&>(host.manager).KillTimer(CString(L"named")), 0u);
    EXPECT_EQ(CMTimer::GetMTimer(a), nullptr);
}

}  // namespace
}  // namespace Quorl
