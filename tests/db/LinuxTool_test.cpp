#include "LinuxTool.h"

#include <gtest/gtest.h>

#include <ostream>

using tavrel::test::LinuxToolResult;
using tavrel::test::runLinuxTool;

namespace {

constexpr int kTimeoutMs = 30'000;

LinuxToolResult shell(const QString& script, const QByteArray& input,
                      QProcess::ProcessChannelMode channels) {
  return runLinuxTool("/bin/sh", {"-c", script}, input, channels,
                      QProcessEnvironment::systemEnvironment(), kTimeoutMs);
}

struct ToolCase {
  const char* script;
  QByteArray input;
  QProcess::ProcessChannelMode channels;
  int exitCode;
  QByteArray output;
  QByteArray errors;
};

void PrintTo(const ToolCase& c, std::ostream* out) {
  *out << c.script;
}

class LinuxToolCases : public ::testing::TestWithParam<ToolCase> {};

// Under Wine every exit would read 0 and the output would be lost: each case shows one of them.
TEST_P(LinuxToolCases, GivesTheExitCodeAndTheOutputAsTheProgramLeftThem) {
  const ToolCase& c = GetParam();
  const LinuxToolResult result = shell(c.script, c.input, c.channels);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.output.toStdString(), c.output.toStdString());
  EXPECT_EQ(result.errors.toStdString(), c.errors.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Runs, LinuxToolCases,
    ::testing::Values(
        ToolCase{"printf 'one\\ntwo'", {}, QProcess::SeparateChannels, 0, "one\ntwo", ""},
        ToolCase{
            "echo out; echo err >&2; exit 3", {}, QProcess::SeparateChannels, 3, "out\n", "err\n"},
        ToolCase{"echo out; echo err >&2; echo end; exit 7",
                 {},
                 QProcess::MergedChannels,
                 7,
                 "out\nerr\nend\n",
                 ""},
        ToolCase{"tr a-z A-Z", "Ação\nbeta", QProcess::SeparateChannels, 0, "AçãO\nBETA", ""},
        ToolCase{"kill -KILL $$", {}, QProcess::SeparateChannels, -1, "", ""}));

TEST(LinuxTool, PassesTheEnvironmentGiven) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TAVREL_TOOL_PROBE", "visto");
  const LinuxToolResult result =
      runLinuxTool("/bin/sh", {"-c", "printf %s \"$TAVREL_TOOL_PROBE\""}, {},
                   QProcess::SeparateChannels, environment, kTimeoutMs);
  EXPECT_EQ(result.output.toStdString(), "visto");
}

}  // namespace
