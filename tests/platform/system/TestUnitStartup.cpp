#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/system/UnitStartup.h"

namespace {

// Registers units whose steps write "+name" and "-name" to a shared log.
void AddUnit(TUnitStartupList& list, std::vector<std::string>& log, const std::string& name,
             bool failStartup = false) {
  list.Register(
      name,
      [&log, name, failStartup] {
        log.push_back("+" + name);
        if (failStartup) throw std::runtime_error(name + " failed");
      },
      [&log, name] { log.push_back("-" + name); });
}

}  // namespace

TEST(UnitStartup, StartsInOrderAndExitsInReverseEachOnce) {
  std::vector<std::string> log;
  TUnitStartupList list;
  AddUnit(list, log, "A");
  list.Register("NoSteps", nullptr, nullptr);
  AddUnit(list, log, "B");
  list.Register(
      "StartOnly", [&log] { log.push_back("+StartOnly"); }, nullptr);
  list.Register("ExitOnly", nullptr, [&log] { log.push_back("-ExitOnly"); });
  list.RunStartup();
  list.RunStartup();
  EXPECT_EQ(list.StartedUnits(), (std::vector<std::string>{"A", "NoSteps", "B", "StartOnly", "ExitOnly"}));
  list.RunShutdown();
  list.RunShutdown();
  EXPECT_EQ(log, (std::vector<std::string>{"+A", "+B", "+StartOnly", "-ExitOnly", "-B", "-A"}));
  EXPECT_TRUE(list.StartedUnits().empty());
}

TEST(UnitStartup, NoExitWorkForUnitsThatDidNotStart) {
  std::vector<std::string> log;
  TUnitStartupList list;
  AddUnit(list, log, "A");
  AddUnit(list, log, "B", true);
  AddUnit(list, log, "C");
  try {
    list.RunStartup();
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "B failed");
  }
  // A later attempt must not start units behind the failed one.
  list.RunStartup();
  list.RunShutdown();
  EXPECT_EQ(log, (std::vector<std::string>{"+A", "+B", "-A"}));
}

TEST(UnitStartup, EveryExitStepRunsAndTheFirstErrorIsReported) {
  std::vector<std::string> log;
  TUnitStartupList list;
  AddUnit(list, log, "A");
  list.Register("B", nullptr, [] { throw std::runtime_error("B exit"); });
  list.Register("C", nullptr, [] { throw std::runtime_error("C exit"); });
  list.RunStartup();
  try {
    list.RunShutdown();
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "C exit");
  }
  EXPECT_EQ(log, (std::vector<std::string>{"+A", "-A"}));
}

TEST(UnitStartup, DestructionShutsDownWhatIsStillStarted) {
  std::vector<std::string> log;
  {
    TUnitStartupList list;
    AddUnit(list, log, "A");
    AddUnit(list, log, "B");
    list.RunStartup();
  }
  EXPECT_EQ(log, (std::vector<std::string>{"+A", "+B", "-B", "-A"}));
}

TEST(UnitStartup, UnitsRegisteredLaterStartOnTheNextRun) {
  std::vector<std::string> log;
  TUnitStartupList list;
  AddUnit(list, log, "A");
  list.RunStartup();
  AddUnit(list, log, "B");
  list.RunStartup();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Name(1), "B");
  list.RunShutdown();
  EXPECT_EQ(log, (std::vector<std::string>{"+A", "+B", "-B", "-A"}));
}
