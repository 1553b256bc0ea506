// The activation check and its timer against in-memory trees and a clock
// that stands still until a test moves it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/activation.h"
#include "alerts/properties.h"
#include "base/boundedtext.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

struct RecordingOutlet final : ActivationOutlet {
  void ShowBalloon(const char* title, const char* text) override {
    balloons.push_back(std::string(title) + "|" + text);
    if (warnOnBalloon) ShowWarning("a box while the check runs");
  }
  void SendMailAlert(const char* subject, const char* body) override {
    alerts.push_back(std::string(subject) + "|" + body);
  }
  std::vector<std::string> balloons, alerts;
  bool warnOnBalloon = false;
};

DateTime At(int month, int day, int hour, int minute, int second = 0, int year = 2008) {
  DateTime t{};
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  return t;
}

struct Activation : AppFixture {
  RecordingOutlet outlet;

  // A task under "Tasks" set to activate on `date`, at `time` or at start-up.
  Node Task(const char* name, const char* date, const char* time = nullptr, uint8_t notify = 0,
            uint8_t email = 0) {
    Node folder = FirstChild(lists, kRootNode);
    Node node = InsertTask(lists, folder ? folder : InsertTask(lists, kRootNode, kLastNode, "Tasks"),
                           kLastNode, name);
    TaskRecord* record = RecordOf(lists, node);
    record->autoactivate = 1;
    CopyField(record->autodate, date);
    record->autotimeset = time != nullptr;
    CopyField(record->autotime, time ? time : "");
    record->notify = notify;
    record->email = email;
    return node;
  }
  bool Activated(Node node) { return CheckStateOf(lists, node) == kChecked; }
  int Check(const DateTime& now) {
    clock.Set(now);
    return RunActivationCheck(outlet);
  }
};

TEST_F(Activation, ATaskComesDueAtItsMinuteOrAtTheStartOfItsDayAndFiresOnce) {
  const struct {
    const char* date;
    const char* time;  // none: at start-up on that date
    DateTime now;
    bool due;
  } cases[] = {
      {"3-7-2008", "9:05", At(3, 7, 9, 4, 59), false},
      {"3-7-2008", "9:05", At(3, 7, 9, 5, 0), true},
      {"3-7-2008", "9:05", At(3, 7, 9, 5, 59), true},
      {"3-7-2008", "9:05", At(3, 6, 23, 59), false},
      {"3-7-2008", "9:05", At(1, 1, 0, 0, 0, 2009), true},  // passed while the program was not running
      {"3-7-2008", nullptr, At(3, 6, 23, 59, 59), false},
      {"3-7-2008", nullptr, At(3, 7, 0, 0), true},
      {"3-8-2008", "0:00", At(3, 7, 23, 59), false},
      {"3-8-2008", nullptr, At(3, 7, 23, 59), false},
      // A date that is not a date (an edited list file) never comes due.
      {"", nullptr, At(3, 7, 9, 5), false},
      {"13-7-2008", nullptr, At(3, 7, 9, 5, 0, 2009), false},
  };
  for (const auto& c : cases) {
    Node node = Task("Call Anna", c.date, c.time);
    EXPECT_EQ(Check(c.now), c.due ? 1 : 0) << c.date << " " << (c.time ? c.time : "startup");
    EXPECT_EQ(Activated(node), c.due);
    EXPECT_EQ(RecordOf(lists, node)->autoactivate != 0, !c.due);
    EXPECT_EQ(Check(c.now), 0) << "each setting fires once";
    RemoveSubtree(lists, node, true);
  }
}

TEST_F(Activation, ADueTaskIsActivatedLikeTheCommandThenShowsItsBalloonAndSendsItsAlert) {
  Node node = Task("Buy milk", "3-7-2008", "9:05", 0x40, 0x80);  // flags as a list file gives them
  ASSERT_EQ(Check(At(3, 7, 9, 5)), 1);
  ASSERT_TRUE(Activated(node));
  EXPECT_EQ(TaskName(active, ParentOf(active, RecordOf(lists, node)->link)), "Today");
  EXPECT_STREQ(RecordOf(lists, node)->activedate, "3-7-2008 9:05");
  EXPECT_EQ(outlet.balloons, std::vector<std::string>{"Velkin Task Activation|Buy milk"});
  EXPECT_EQ(outlet.alerts,
            std::vector<std::string>{"Velkin Task Activation: Buy milk|Today\r\n\tBuy milk\r\n"});
}

TEST_F(Activation, ATaskAlreadyActiveStaysAsItIsButStillAlertsAndIsCleared) {
  Node node = Task("Already", "3-7-2008", nullptr, 1, 1);
  ASSERT_TRUE(ActivateTask(lists, node));
  ASSERT_EQ(Check(At(3, 8, 10, 0)), 1);
  EXPECT_EQ(active.Count(), 2u) << "no second copy";
  EXPECT_EQ(outlet.balloons.size(), 1u);
  EXPECT_EQ(outlet.alerts.size(), 1u);
  EXPECT_EQ(RecordOf(lists, node)->autoactivate, 0);
}

TEST_F(Activation, TwoTasksDueInOneCheckGoNewestFirstAndTheSecondAlertListsBoth) {
  Node older = Task("Older", "3-7-2008", "8:00", 0, 1);
  Node newer = Task("Newer", "3-7-2008", "9:00", 0, 1);
  ASSERT_EQ(Check(At(3, 7, 9, 5)), 2);
  EXPECT_TRUE(Activated(older) && Activated(newer));
  EXPECT_EQ(outlet.alerts,
            (std::vector<std::string>{"Velkin Task Activation: Newer|Today\r\n\tNewer\r\n",
                                      "Velkin Task Activation: Older|Today\r\n\tOlder\r\n\tNewer\r\n"}));
}

TEST_F(Activation, ATaskDeletedWhileABoxOfTheCheckIsUpIsLeftAlone) {
  Node second = Task("Second", "3-7-2008", nullptr, 1);
  Node first = Task("First", "3-7-2008", nullptr, 1);
  outlet.warnOnBalloon = true;
  prompts.WhileShown([&] {  // the user deletes the second while the first's box is up
    prompts.WhileShown(nullptr);
    RemoveSubtree(lists, second, true);
  });
  EXPECT_EQ(Check(At(3, 7, 9, 5)), 1);
  EXPECT_TRUE(Activated(first));
  EXPECT_EQ(outlet.balloons, std::vector<std::string>{"Velkin Task Activation|First"});
  EXPECT_EQ(App().prompts, &prompts) << "the check gives the prompts back";
}

TEST_F(Activation, TheTimerRunsTheCheckAtItsFirstTickAndThenOncePerMinute) {
  Node late = Task("Late", "3-7-2008", "10:06");
  ActivationTimer timer{};
  const struct {
    DateTime now;
    bool runs;
  } ticks[] = {{At(3, 7, 9, 5, 1), true},
               {At(3, 7, 9, 5, 59), false},
               {At(3, 7, 9, 6, 0), true},
               // Asleep for exactly an hour: the same minute number, another minute.
               {At(3, 7, 10, 6, 1), true},
               {At(3, 7, 10, 6, 2), false}};
  for (const auto& tick : ticks) {
    clock.Set(tick.now);
    EXPECT_EQ(ActivationTimerTick(timer, outlet), tick.runs) << tick.now.hour << ":" << tick.now.minute;
  }
  EXPECT_TRUE(Activated(late));
}

// Properties open on a task while its auto-activation fires: OK on the
// moment the dialog still shows must not set it again (a second
// activation, balloon and e-mail at the next check), but a moment the user
// changed there is set anew.
TEST_F(Activation, OkInPropertiesOpenWhileTheTaskFiredDoesNotSetItAgain) {
  Node task = Task("Call Anna", "3-7-2008", "9:10", 1);
  TaskRecord* record = RecordOf(lists, task);
  HoldPropertiesRecord(record);
  const PropertiesForm shown = PropertiesFormOf(*record, kFixtureNow);
  ASSERT_EQ(Check(At(3, 7, 9, 10)), 1);
  ASSERT_TRUE(DeactivateTask(lists, task));
  StoreHeldProperties(shown);
  EXPECT_EQ(record->autoactivate, 0);
  EXPECT_EQ(Check(At(3, 7, 9, 11)), 0);
  EXPECT_FALSE(Activated(task));

  record->autoactivate = 1;
  HoldPropertiesRecord(record);
  PropertiesForm later = PropertiesFormOf(*record, kFixtureNow);
  ASSERT_EQ(Check(At(3, 7, 9, 12)), 1);
  later.autoTime.minute = 30;
  StoreHeldProperties(later);
  EXPECT_EQ(record->autoactivate, 1);
  EXPECT_EQ(Check(At(3, 7, 9, 30)), 1);
  EXPECT_EQ(outlet.balloons.size(), 3u);
  HoldPropertiesRecord(nullptr);
}

}  // namespace
