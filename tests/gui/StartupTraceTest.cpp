#include "app/StartupTrace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace fenwake::test {
namespace {

// Players never see the developer's trace; the phases it wraps still run
// and hand back their results.
TEST(StartupTrace, IsSilentUnlessAskedForAndKeepsWhatPhasesReturn)
{
    if (std::getenv("FENWAKE_TRACE_STARTUP")) GTEST_SKIP() << "the trace was asked for";
    testing::internal::CaptureStderr();
    trace::Mark("step");
    int ran = 0;
    const int result = trace::Phase("phase", [&] { return ++ran * 7; });
    trace::Phase("void phase", [&] { ++ran; });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(trace::Enabled());
    EXPECT_EQ(result, 7);
    EXPECT_EQ(ran, 2);
}

} // namespace
} // namespace fenwake::test
