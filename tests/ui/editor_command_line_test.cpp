// The editor's command line, run as a user runs it.

#include <gtest/gtest.h>

#include <QProcess>

#include "support/temp_dir.h"

namespace quill::ui {
namespace {

struct Outcome {
  int status = -1;
  QString out;
  QString err;
};

Outcome RunEditor(const QStringList& arguments) {
  quill::testing::TempDir home;
  QProcess editor;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.Path().string()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  editor.setProcessEnvironment(environment);
  editor.start(QUILLSMITH_PATH, arguments);
  EXPECT_TRUE(editor.waitForFinished(20000)) << arguments.join(' ').toStdString();
  if (editor.state() != QProcess::NotRunning) editor.kill();
  return {editor.exitStatus() == QProcess::NormalExit ? editor.exitCode() : -1,
          QString::fromLocal8Bit(editor.readAllStandardOutput()),
          QString::fromLocal8Bit(editor.readAllStandardError())};
}

TEST(EditorCommandLineTest, VersionHelpAndUsageErrors) {
  Outcome run = RunEditor({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "quillsmith 1.0.142\n");

  run = RunEditor({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.startsWith("Usage: ")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("[PROJECT]")) << run.out.toStdString();

  for (const QStringList& wrong : {QStringList{"--frobnicate"}, QStringList{"My", "Log"}}) {
    run = RunEditor(wrong);
    EXPECT_EQ(run.status, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("quillsmith: ")) << run.err.toStdString();
  }
}

}  // namespace
}  // namespace quill::ui
