// The activation check and its timer against in-memory trees and a clock
// that stands still until a test moves it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/activation.h"
#include "base/boundedtext.h"
#include "fixture.h"
#include "recording_host.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

struct RecordingOutlet final : ActivationOutlet {
  struct Alert {
    std::string subject;
    std::string body;
  };
  void ShowBalloon(const char* title, const char* text) override {
    balloons.push_back(std::string(title) + "|" + text);
    if (warnOnBalloon) ShowWarning("a box while the check runs");
  }
  void SendMailAlert(const char* subject, const char* body) override { alerts.push_back({subject, body}); }

  std::vector<std::string> balloons;
  std::vector<Alert> alerts;
  bool warnOnBalloon = false;
};

DateTime At(int month, int day, int year, int hour, int minute, int second = 0) {
  return DateTime{static_cast<uint16_t>(year),
                  static_cast<uint16_t>(month),
                  0,
                  static_cast<uint16_t>(day),
                  static_cast<uint16_t>(hour),
                  static_cast<uint16_t>(minute),
                  static_cast<uint16_t>(second),
                  0};
}

struct Activation : AppFixture {
  RecordingHost host;
  RecordingOutlet outlet;

  void SetUp() override {
    AppFixture::SetUp();
    SetHost(&host);
  }
  void TearDown() override {
    SetHost(nullptr);
    AppFixture::TearDown();
  }

  // A Lists task under "Tasks", set to activate on `date` (at `time` when
  // given, else at start-up).
  Node Task(const char* name, const char* date, const char* time = nullptr, bool notify = false,
            bool email = false) {
    Node folder = FirstChild(lists, kRootNode);
    if (!folder) folder = InsertTask(lists, kRootNode, kLastNode, "Tasks");
    Node node = InsertTask(lists, folder, kLastNode, name);
    TaskRecord* record = RecordOf(lists, node);
    record->autoactivate = 1;
    CopyField(record->autodate, date);
    if (time) {
      record->autotimeset = 1;
      CopyField(record->autotime, time);
    }
    record->notify = notify;
    record->email = email;
    return node;
  }
  bool Waiting(Node node) { return RecordOf(lists, node)->autoactivate != 0; }
  bool Activated(Node node) { return CheckStateOf(lists, node) == kChecked; }
  int Check(const DateTime& now) {
    clock.Set(now);
    return RunActivationCheck(outlet);
  }
};

TEST_F(Activation, ATaskComesDueAtItsMinuteOrAtTheStartOfItsDay) {
  struct Case {
    const char* date;
    const char* time;  // none: at start-up on that date
    DateTime now;
    bool due;
  } cases[] = {
      {"3-7-2008", "9:05", At(3, 7, 2008, 9, 4, 59), false},
      {"3-7-2008", "9:05", At(3, 7, 2008, 9, 5, 0), true},
      {"3-7-2008", "9:05", At(3, 7, 2008, 9, 5, 59), true},
      {"3-7-2008", "9:05", At(3, 6, 2008, 23, 59), false},
      {"3-7-2008", "9:05", At(1, 1, 2009, 0, 0), true},  // passed while the program was not running
      {"3-7-2008", nullptr, At(3, 6, 2008, 23, 59, 59), false},
      {"3-7-2008", nullptr, At(3, 7, 2008, 0, 0), true},
      {"3-8-2008", "0:00", At(3, 7, 2008, 23, 59), false},
      {"3-8-2008", nullptr, At(3, 7, 2008, 23, 59), false},
      {"12-31-2007", "23:59", At(1, 1, 2008, 0, 0), true},
      // A date that is not a date (an edited list file) never comes due.
      {"", nullptr, At(3, 7, 2008, 9, 5), false},
      {"13-7-2008", nullptr, At(3, 7, 2009, 9, 5), false},
      {"3-7", "9:05", At(3, 7, 2009, 9, 5), false},
  };
  for (const Case& c : cases) {
    Node node = Task("Call Anna", c.date, c.time);
    EXPECT_EQ(Check(c.now), c.due ? 1 : 0) << c.date << " " << (c.time ? c.time : "startup");
    EXPECT_EQ(Activated(node), c.due);
    EXPECT_EQ(Waiting(node), !c.due) << "each setting fires once";
    RemoveSubtree(lists, node, true);
    RemoveSubtree(active, FirstChild(active, kRootNode), true);
  }
}

TEST_F(Activation, ADueTaskIsActivatedLikeTheCommandThenBalloonAndAlertAndFiresOnce) {
  Node node = Task("Buy milk", "3-7-2008", "9:05", true, true);
  ASSERT_EQ(Check(At(3, 7, 2008, 9, 5)), 1);
  ASSERT_TRUE(Activated(node));
  Node copy = RecordOf(lists, node)->link;
  ASSERT_TRUE(copy);
  EXPECT_EQ(TaskName(active, ParentOf(active, copy)), "Today");
  EXPECT_STREQ(RecordOf(lists, node)->activedate, "3-7-2008 9:05");
  EXPECT_EQ(outlet.balloons, std::vector<std::string>{"Velkin Task Activation|Buy milk"});
  ASSERT_EQ(outlet.alerts.size(), 1u);
  EXPECT_EQ(outlet.alerts[0].subject, "Velkin Task Activation: Buy milk");
  EXPECT_EQ(outlet.alerts[0].body, "Today\r\n\tBuy milk\r\n");

  EXPECT_EQ(Check(At(3, 7, 2008, 9, 6)), 0);
  EXPECT_EQ(outlet.balloons.size(), 1u);
  EXPECT_EQ(outlet.alerts.size(), 1u);
}

TEST_F(Activation, WithoutNotifyOrEmailOnlyTheActivationHappens) {
  Node node = Task("Quiet", "3-7-2008");
  Check(At(3, 7, 2008, 9, 5));
  EXPECT_TRUE(Activated(node));
  EXPECT_TRUE(outlet.balloons.empty());
  EXPECT_TRUE(outlet.alerts.empty());
}

TEST_F(Activation, ATaskAlreadyActiveStaysAsItIsButStillAlertsAndIsCleared) {
  Node node = Task("Already", "3-7-2008", nullptr, true, true);
  ASSERT_TRUE(ActivateTask(lists, node));
  Node copy = RecordOf(lists, node)->link;
  ASSERT_EQ(Check(At(3, 8, 2008, 10, 0)), 1);
  EXPECT_EQ(RecordOf(lists, node)->link, copy) << "no second copy";
  EXPECT_EQ(active.Count(), 2u);
  EXPECT_EQ(outlet.balloons.size(), 1u);
  EXPECT_EQ(outlet.alerts.size(), 1u);
  EXPECT_FALSE(Waiting(node));
}

TEST_F(Activation, TwoTasksDueInOneCheckGoNewestFirstAndTheSecondAlertListsBoth) {
  Node older = Task("Older", "3-7-2008", "8:00", false, true);
  Node newer = Task("Newer", "3-7-2008", "9:00", false, true);
  ASSERT_EQ(Check(At(3, 7, 2008, 9, 5)), 2);
  EXPECT_TRUE(Activated(older));
  EXPECT_TRUE(Activated(newer));
  ASSERT_EQ(outlet.alerts.size(), 2u);
  EXPECT_EQ(outlet.alerts[0].subject, "Velkin Task Activation: Newer");
  EXPECT_EQ(outlet.alerts[0].body, "Today\r\n\tNewer\r\n");
  EXPECT_EQ(outlet.alerts[1].subject, "Velkin Task Activation: Older");
  EXPECT_EQ(outlet.alerts[1].body, "Today\r\n\tOlder\r\n\tNewer\r\n");
}

TEST_F(Activation, OnlyListsTasksAreChecked) {
  Node node = Task("Done already", "3-7-2008");
  ASSERT_TRUE(CompleteTask(lists, node));
  EXPECT_EQ(Check(At(3, 9, 2008, 9, 5)), 0);
  EXPECT_TRUE(FirstChild(active, kRootNode) == nullptr);
}

TEST_F(Activation, ATaskDeletedWhileABoxOfTheCheckIsUpIsLeftAlone) {
  Node second = Task("Second", "3-7-2008", nullptr, true);
  Node first = Task("First", "3-7-2008", nullptr, true);
  ASSERT_NE(first, second);
  outlet.warnOnBalloon = true;
  // While the box for the first is up, the user deletes the second.
  prompts.WhileShown([&] {
    prompts.WhileShown(nullptr);
    RemoveSubtree(lists, second, true);
  });
  EXPECT_EQ(Check(At(3, 7, 2008, 9, 5)), 1);
  EXPECT_TRUE(Activated(first));
  EXPECT_EQ(outlet.balloons, std::vector<std::string>{"Velkin Task Activation|First"});
  EXPECT_EQ(App().prompts, &prompts) << "the check gives the prompts back";
}

TEST_F(Activation, TheTimerRunsTheCheckAtItsFirstTickAndThenOncePerMinute) {
  Node late = Task("Late", "3-7-2008", "9:07");
  ActivationTimer timer{};
  struct Tick {
    DateTime now;
    bool runs;
  } ticks[] = {
      {At(3, 7, 2008, 9, 5, 1), true},
      {At(3, 7, 2008, 9, 5, 2), false},
      {At(3, 7, 2008, 9, 5, 59), false},
      {At(3, 7, 2008, 9, 6, 0), true},
      {At(3, 7, 2008, 9, 6, 30), false},
      // Asleep for exactly an hour: the same minute number, another minute.
      {At(3, 7, 2008, 10, 6, 31), true},
      {At(3, 7, 2008, 10, 6, 32), false},
  };
  for (const Tick& tick : ticks) {
    clock.Set(tick.now);
    EXPECT_EQ(ActivationTimerTick(timer, outlet), tick.runs) << tick.now.hour << ":" << tick.now.minute;
  }
  EXPECT_TRUE(Activated(late)) << "activated by the check at 10:06";
}

}  // namespace
