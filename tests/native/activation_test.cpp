// The activation check and its timer against in-memory trees and a clock
// that stands still until a test moves it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alerts/activation.h"
#include "alerts/properties.h"
#include "base/boundedtext.h"
#include "failing_forest.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

struct RecordingOutlet final : ActivationOutlet {
  void ShowBalloon(const char* title, const char* text) override {
    balloons.push_back(std::string(title) + "|" + text);
  }
  void SendMailAlert(const char* subject, const char* body) override {
    alerts.push_back(std::string(subject) + "|" + body);
  }
  std::vector<std::string> balloons, alerts;
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

// One check that activates several tasks (a start after days away, a
// resume) gives one balloon naming them, as many names as the balloon
// holds, and one e-mail listing them; a task alone as before.
TEST_F(Activation, TasksDueInOneCheckGiveOneBalloonAndOneMessage) {
  const std::string a(100, 'a'), b(100, 'b'), c(100, 'c');
  const struct {
    std::vector<std::string> names;  // due in this order, each notifying and mailing
    std::string balloon;
    std::string subject;
    std::string bodyStart;
  } cases[] = {
      {{"Pay rent", "Renew insurance", "Call Anna"},
       "3 tasks became active: Pay rent, Renew insurance, Call Anna",
       "Velkin Task Activation: 3 tasks became active",
       "3 tasks became active:\r\n\tPay rent\r\n\tRenew insurance\r\n\tCall Anna\r\n\r\nToday\r\n"},
      {{a, b, c},
       "3 tasks became active: " + a + ", " + b + ", ...",
       "Velkin Task Activation: 3 tasks became active",
       "3 tasks became active:\r\n\t" + a},
      {{"Alone"}, "Alone", "Velkin Task Activation: Alone", "Today\r\n\tAlone\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<Node> nodes;
    for (size_t i = 0; i < c.names.size(); ++i)
      nodes.push_back(Task(c.names[i].c_str(), "3-7-2008", ("8:0" + std::to_string(i)).c_str(), 1, 1));
    outlet.balloons.clear();
    outlet.alerts.clear();
    EXPECT_EQ(Check(At(3, 7, 9, 5)), static_cast<int>(c.names.size()));
    ASSERT_EQ(outlet.balloons.size(), 1u) << c.balloon;
    EXPECT_EQ(outlet.balloons[0], std::string(kActivationTitle) + "|" + c.balloon);
    EXPECT_LT(c.balloon.size(), kBalloonTextSize);
    ASSERT_EQ(outlet.alerts.size(), 1u) << c.balloon;
    const std::string& alert = outlet.alerts[0];
    EXPECT_EQ(alert.substr(0, alert.find('|')), c.subject);
    EXPECT_EQ(alert.substr(alert.find('|') + 1, c.bodyStart.size()), c.bodyStart);
    for (Node node : nodes) RemoveSubtree(lists, node, true);
  }
}

// A box during the check (here: Active refuses the copies) lets the user
// delete tasks: every task still to be handled is looked up again.
TEST_F(Activation, TasksDeletedWhileABoxOfTheCheckIsUpAreLeftAlone) {
  const struct {
    int copiesTaken;  // by Active before it refuses
    int deleted;      // at the first box
    const char* balloon;
  } cases[] = {
      {0, 2, "2 tasks became active: A, B"},
      {0, 1, "2 tasks became active: A, C"},
      {1, 2, "2 tasks became active: A, B"},
      {1, 0, "3 tasks became active: A, B, C"},  // A was handled before the box
  };
  for (const auto& c : cases) {
    FailingForest refusing(c.copiesTaken);
    InsertTask(refusing.inner, kRootNode, kLastNode, "Today");
    App().active = &refusing;
    Node nodes[] = {Task("A", "3-7-2008", "8:00", 1), Task("B", "3-7-2008", "8:01", 1),
                    Task("C", "3-7-2008", "8:02", 1)};
    prompts.WhileShown([&] {
      prompts.WhileShown(nullptr);
      RemoveSubtree(lists, nodes[c.deleted], true);
      nodes[c.deleted] = nullptr;
    });
    outlet.balloons.clear();
    EXPECT_EQ(Check(At(3, 7, 9, 5)), c.balloon[0] - '0') << c.balloon;
    EXPECT_EQ(outlet.balloons, std::vector<std::string>{std::string(kActivationTitle) + "|" + c.balloon});
    EXPECT_EQ(App().prompts, &prompts) << "the check gives the prompts back";
    for (Node node : nodes)
      if (node) RemoveSubtree(lists, node, true);
    App().active = &active;
    FreeForestRecords(refusing.inner);
  }
}

TEST_F(Activation, AClockSetBackFiresNothingTwice) {
  Task("Nine", "3-7-2008", "9:00", 1);
  Task("Half past", "3-7-2008", "9:30", 1);
  const struct {
    DateTime now;
    int handled;
  } checks[] = {{At(3, 7, 9, 10), 1}, {At(3, 7, 8, 0), 0}, {At(3, 7, 9, 10), 0},
                {At(3, 7, 9, 30), 1}, {At(3, 6, 9, 0), 0}, {At(3, 8, 0, 0), 0}};
  for (const auto& check : checks)
    EXPECT_EQ(Check(check.now), check.handled)
        << check.now.day << " " << check.now.hour << ":" << check.now.minute;
  EXPECT_EQ(outlet.balloons.size(), 2u);
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

  PropertiesForm again = PropertiesFormOf(*record, kFixtureNow);
  again.autoActivate = true;
  StorePropertiesForm(again, *record);
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
