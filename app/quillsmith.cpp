// Quillsmith, the editor.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "core/clock.h"
#include "core/draft_store.h"
#include "core/product.h"
#include "core/registry.h"
#include "ui/app.h"
#include "ui/qt_desktop_services.h"
#include "ui/session_end.h"

namespace {

constexpr int kUsageError = 2;

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void NameTheProgram() {
  QCoreApplication::setApplicationName("quillsmith");
  QCoreApplication::setApplicationVersion(QString("%1.%2.%3")
                                              .arg(quill::core::kVersionMajor)
                                              .arg(quill::core::kVersionMinor)
                                              .arg(quill::core::kVersionRevision));
}

// Reads the command line; a value when the program ends here (help, version, usage error).
std::optional<int> ReadCommandLine(QCommandLineParser& parser, const QStringList& arguments) {
  parser.setApplicationDescription(
      "Writes and edits the dated entries of your blog projects and generates their sites.\n"
      "Without PROJECT it starts with the project chooser.");
  parser.addPositionalArgument("PROJECT",
                               "Open this project at once, as if chosen in the "
                               "chooser (quote a name with spaces).",
                               "[PROJECT]");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  QString error;
  if (!parser.parse(arguments)) {
    error = parser.errorText();
  } else if (parser.isSet(help)) {
    parser.showHelp(0);
  } else if (parser.isSet(version)) {
    parser.showVersion();
  } else if (parser.positionalArguments().size() > 1) {
    error = "name one project at most (quote a name with spaces)";
  } else {
    return std::nullopt;
  }
  std::fprintf(stderr, "quillsmith: %s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
  return kUsageError;
}

// --help and --version answer on the terminal, with or without a display.
bool AsksOnlyForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-v" ||
        argument == "--version") {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksOnlyForText(argc, argv)) {
    QCoreApplication terminal(argc, argv);
    NameTheProgram();
    QCommandLineParser parser;
    return ReadCommandLine(parser, QCoreApplication::arguments()).value_or(0);
  }

  QApplication application(argc, argv);
  NameTheProgram();
  // Qt has taken its own options (-platform, -style ...) out of the arguments by now.
  QCommandLineParser parser;
  if (const auto status = ReadCommandLine(parser, QCoreApplication::arguments())) return *status;

  // The desktop matches the windows to the installed desktop entry and its icon; the icon
  // built into the program stands in where none is installed (a build folder).
  const QString desktop_id = FromView(quill::core::kDesktopId);
  QGuiApplication::setDesktopFileName(desktop_id);
  QApplication::setWindowIcon(
      QIcon::fromTheme(desktop_id, QIcon(":/icons/" + desktop_id + ".svg")));
  // Windows end the program themselves, once the last of them is closed or left.
  QApplication::setQuitOnLastWindowClosed(false);

  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  QDir().mkpath(runtime);

  const auto registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::ui::QtDesktopServices services;
  quill::ui::App app(
      *registry, clock, services, QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/",
      runtime + "/quillsmith.lock",
      quill::core::DefaultStateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
  quill::ui::SessionEnd session_end(app);
  session_end.WatchSignals();
  if (!app.StartProgram(parser.positionalArguments().value(0))) return 0;
  return QApplication::exec();
}
