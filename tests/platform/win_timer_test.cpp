// Timers on the off-screen display's hand-driven clock: when they fire, how late ones coalesce,
// resetting and killing, timer procedures and thread timers, and the message loop waiting for
// the next timer instead of ending.
#include "win_support.h"

namespace zo::plat::test {
namespace {

thread_local std::vector<std::uintptr_t>* tlsIds = nullptr;
thread_local DWORD tlsFirstTime = 0;

// Notes the timer ids it is called for, in tlsIds.
void CountingProc(HWND, UINT msg, std::uintptr_t id, DWORD time) {
    if (tlsIds == nullptr || msg != WM_TIMER) return;
    if (tlsIds->empty()) tlsFirstTime = time;
    tlsIds->push_back(id);
}

class Timers : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        w = Top("w", 0, 0, 50, 50);
        PumpMessages();
        rec.Watch({WM_TIMER});
        tlsIds = &ids;
    }
    void TearDown() override {
        tlsIds = nullptr;
        WinTest::TearDown();
    }
    // Timer messages dispatched now (or since the last call), as "window:id".
    std::string Fired(bool pump = true) {
        if (pump) PumpMessages();
        std::string out;
        for (const MSG& m : rec.messages)
            out += (out.empty() ? "" : " ") + rec.names[m.hwnd] + ":" + std::to_string(m.wParam);
        rec.Said();
        return out;
    }
    std::string After(DWORD ms) {
        AdvanceClock(ms);
        return Fired();
    }
    HWND w = 0;
    std::vector<std::uintptr_t> ids;
};

TEST_F(Timers, FireWhenDueOnceWhenLateAndInTheOrderTheyWaited) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    EXPECT_EQ(After(99), "");
    EXPECT_EQ(After(1), "w:7");
    EXPECT_EQ(GetTickCount() - start, 100u);
    // A late timer fires once, and its next period starts when it was taken.
    EXPECT_EQ(After(350), "w:7");
    EXPECT_EQ(After(99), "");
    EXPECT_EQ(After(1), "w:7");
    // Letting time pass step by step fires each every period; when both are due, the one that
    // has waited longer since its last turn goes first.
    KillTimer(w, 7);
    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 2, 250, nullptr);
    RunFor(500);
    EXPECT_EQ(Fired(false), "w:1 w:1 w:2 w:1 w:1 w:2 w:1");
}

TEST_F(Timers, SettingAgainRestartsKillingStopsAndShortPeriodsAreRaised) {
    SetTimer(w, 3, 100, nullptr);
    AdvanceClock(80);
    SetTimer(w, 3, 100, nullptr);  // the same timer, from now
    EXPECT_EQ(After(80), "");
    EXPECT_EQ(After(20), "w:3");
    EXPECT_TRUE(KillTimer(w, 3));
    EXPECT_FALSE(KillTimer(w, 3));
    EXPECT_FALSE(KillTimer(w, 99));
    EXPECT_EQ(After(1000), "");
    SetTimer(w, 4, 1, nullptr);
    EXPECT_EQ(After(USER_TIMER_MINIMUM - 1), "");
    EXPECT_EQ(After(1), "w:4");
}

TEST_F(Timers, TimersOfADestroyedWindowAndForgedMessagesDoNothing) {
    const HWND c = Child(w, "c", 0, 0, 10, 10);
    SetTimer(c, 1, 50, nullptr);
    SetTimer(w, 2, 50, nullptr);
    DestroyWindow(c);
    EXPECT_EQ(After(50), "w:2");
    // A posted WM_TIMER naming a procedure that is no timer's calls nothing.
    MSG forged{w, WM_TIMER, 5, reinterpret_cast<LPARAM>(&CountingProc), 0, {}};
    DispatchMessageA(&forged);
    EXPECT_TRUE(ids.empty());
}

TEST_F(Timers, ProceduresAndThreadTimersGetTheirCalls) {
    const UINT_PTR a = SetTimer(0, 0, 100, &CountingProc);
    const UINT_PTR b = SetTimer(0, 0, 150, &CountingProc);
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);                     // thread timers get identifiers of their own
    SetTimer(w, 9, 100, &CountingProc);  // a window timer with a procedure: no WM_TIMER to w
    const DWORD start = GetTickCount();
    RunFor(300);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(ids, (std::vector<std::uintptr_t>{a, 9, b, a, 9, b, a, 9}));
    EXPECT_EQ(tlsFirstTime, start + 100);
    EXPECT_TRUE(KillTimer(0, a));
    EXPECT_TRUE(KillTimer(0, b));
}

TEST_F(Timers, TheMessageLoopWaitsForTheNextTimerAndEndsWhenNoneIsLeft) {
    SetTimer(w, 1, 300, nullptr);
    const DWORD start = GetTickCount();
    MSG m;
    ASSERT_EQ(GetMessageA(&m, 0, 0, 0), TRUE);
    EXPECT_EQ(m.message, WM_TIMER);
    EXPECT_EQ(GetTickCount() - start, 300u);  // the clock jumped to the timer
    KillTimer(w, 1);
    EXPECT_EQ(GetMessageA(&m, 0, 0, 0), FALSE);
    EXPECT_EQ(m.message, WM_QUIT);
    // A filter that excludes timers does not wait for them.
    SetTimer(w, 1, 300, nullptr);
    EXPECT_EQ(GetMessageA(&m, 0, WM_KEYFIRST, WM_KEYLAST), FALSE);
    EXPECT_EQ(GetMessageA(nullptr, 0, 0, 0), -1);
}

}  // namespace
}  // namespace zo::plat::test
