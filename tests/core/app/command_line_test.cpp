#include "core/app/command_line.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(CommandLine, PathCallerAndQuotes) {
  CommandLine c = ParseCommandLine(JoinArguments({"/home/ann/my", "data/Cu.cld|Fit", "Program"}));
  EXPECT_EQ(c.path, "/home/ann/my data/Cu.cld");
  EXPECT_EQ(c.caller, "Fit Program");
  EXPECT_EQ(CalledFromMessage(c.caller), "Called from Fit Program\rClose Tarn to return to that program");

  EXPECT_EQ(ParseCommandLine("\"/a b/x.cld\"").path, "/a b/x.cld");
  // A blank between the closing quote and "|" does not cost the path a letter.
  c = ParseCommandLine("\"/a b/x.cld\" |Caller|x");
  EXPECT_EQ(c.path, "/a b/x.cld");
  EXPECT_EQ(c.caller, "Caller|x");
  EXPECT_EQ(ParseCommandLine("\"/a/x.cld").path, "/a/x.cld");

  c = ParseCommandLine("/a/x.trn");
  EXPECT_EQ(c.path, "/a/x.trn");
  EXPECT_EQ(c.caller, "");
  EXPECT_EQ(ParseCommandLine(JoinArguments({})).path, "");
}

}  // namespace
}  // namespace tarn
