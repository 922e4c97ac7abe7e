// Every Wine test runs with the Windows 95/98 rules checked: the product's
// code links into this program and calls the system through its import
// address table, which the environment points at the checkers before the
// first test. A broken rule fails the test that made the call.
#include <windows.h>

#include <gtest/gtest.h>

#include "Win9xRules.h"

namespace {

void FailTest(const char* message)
{
    ADD_FAILURE() << message;
}

class Win9xRulesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { Win9xRules::Install(::GetModuleHandleA(nullptr), &FailTest); }
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new Win9xRulesEnvironment);

}  // namespace
