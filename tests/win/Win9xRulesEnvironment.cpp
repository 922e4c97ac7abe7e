// Every Wine test runs with the Windows 95/98 rules checked: the product's
// code links into this program and calls the system through its import
// address table, which the environment points at the checkers before the
// first test. A broken rule fails the test that made the call.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Win9xRules.h"

namespace {

// Each broken rule once per test: a menu walk repeats the same call
// thousands of times.
void FailTest(const char* message)
{
    static const ::testing::TestInfo* test = nullptr;
    static std::set<std::string> reported;
    const ::testing::TestInfo* current = ::testing::UnitTest::GetInstance()->current_test_info();
    if (current != test) {
        test = current;
        reported.clear();
    }
    if (reported.insert(message).second)
        ADD_FAILURE() << message;
}

class Win9xRulesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { Win9xRules::Install(::GetModuleHandleA(nullptr), &FailTest); }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new Win9xRulesEnvironment);

}  // namespace
